#include "ScreenLockdown.h"

#include "Curtain.h"
#include "LockdownStacking.h"
#include "XcbDesktop.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <set>

namespace kwizmar {

namespace {

// On an X11 desktop the program does the shell's part itself. The desktop
// and the panels are put behind a curtain: a window of the program that
// covers the work area (desktop) or the whole screen (panels and docks too),
// stays above every other program's windows and below every window of the
// program, takes no focus and swallows the clicks. The task-switch lock holds
// the keyboard on the program's active window, so that the window manager's
// keys (Alt+Tab, Super ...) never reach it. When the program dies, the X
// server destroys the curtain and drops the grab.
//
// The curtain and the program's windows keep their order through the window
// manager (EWMH): both are asked into the layer above ordinary windows, where
// docks and panels live too, and each change of the window manager's stacking
// order is checked and put right (LockdownStacking.h decides how, XcbDesktop.h
// reads the order and carries the requests), also under a window manager that
// comes after the program or takes over from another. One that finds nothing
// active treats a frameless window as large as the screen as a full-screen
// one and keeps it above every other window (openbox does): a window of the
// program below the curtain is then made the active one.
//
// Window managers that keep no true stacking list or take no restacking
// requests (xfwm4, marco, IceWM, Fluxbox), or none at all, get a curtain of
// the program's own, outside the window manager (override-redirect): the
// program reads the X server's real stacking order, asks for its windows to
// be raised above every other program's window and puts the curtain right
// below them (LockdownStacking.h's DecideOwnRestacking). While it covers the
// panels the mouse is held on the program's windows too, so that a panel or a
// window the window manager keeps above them anyway takes no click. The
// keyboard's hold needs no window manager at all.

const char* const kNoDesktopNote =
    "Na tym pulpicie program nie może ukryć pulpitu i paska zadań ani zablokować "
    "przełączania okien.";
const char* const kGrabRefusedNote =
    "Klawiaturę trzyma inny program: przełączanie okien nie jest zablokowane.";

TWindowId IdOf(const QWindow* window) {
    return window ? static_cast<TWindowId>(window->winId()) : kNoWindow;
}

class TX11Lockdown final : public QObject,
                           public IScreenLockdown,
                           public QAbstractNativeEventFilter {
public:
    explicit TX11Lockdown(ILockdownOperations& system)
        : system_(system), x_(TXcbDesktop::OfApplication()) {
        if (x_) {
            qApp->installNativeEventFilter(this);
            connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { check_.start(); });
        }
        windowManager_ = WindowManager();
        canAct_ = x_ != nullptr;
        ownStacking_ = OwnStackingWanted();
        check_.setSingleShot(true);
        check_.setInterval(0);
        connect(&check_, &QTimer::timeout, this, [this] {
            // A window manager that came, went or took over from another:
            // the stacking order is looked at anew.
            if (x_) {
                const TWindowId windowManager = WindowManager();
                if (windowManager != windowManager_) {
                    windowManager_ = windowManager;
                    last_.order.clear();
                    lastReal_ = {};
                    // Another kind of window manager: the curtain of the other kind.
                    if (OwnStackingWanted() != ownStacking_) {
                        LiftCurtain();
                        ownStacking_ = !ownStacking_;
                    }
                }
            }
            // A window manager that came after the lockdown was asked for.
            if (!curtain_ && CurtainWanted(options_))
                ShowCurtain();
            RestoreMinimized();
            Restack();
            Regrab();
            WatchWindows();
        });
    }

    ~TX11Lockdown() override {
        if (x_)
            qApp->removeNativeEventFilter(this);
        delete curtain_;
        if (pointerHeld_)
            x_->UngrabPointer();
    }

    void ShowDesktopIcons(bool on) override {
        system_.ShowDesktopIcons(on);
        Set(options_.desktopIcons, on);
    }
    void EnableDesktopView(bool on) override {
        system_.EnableDesktopView(on);
        Set(options_.desktopView, on);
    }
    void ShowTaskbar(bool on) override {
        system_.ShowTaskbar(on);
        Set(options_.taskbar, on);
    }
    void EnableTaskbar(bool on) override {
        system_.EnableTaskbar(on);
        Set(options_.taskbarEnabled, on);
    }
    void EnableStartButton(bool on) override {
        system_.EnableStartButton(on);
        Set(options_.startButton, on);
    }
    void LockTaskSwitch(bool lock) override {
        system_.LockTaskSwitch(lock);
        lock_ = lock;
        if (lock)
            Regrab();
        else
            Ungrab();
        WatchWindows();
    }

    void AttachMainWindow(QWidget* window) override { main_ = window; }

    QString Note() const override {
        if (!canAct_)
            return QString::fromUtf8(kNoDesktopNote);
        if (lock_ && grabRefused_)
            return QString::fromUtf8(kGrabRefusedNote);
        return {};
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type == "xcb_generic_event_t" &&
            x_->IsFollowedChange(static_cast<const xcb_generic_event_t*>(message)))
            check_.start();
        return false;
    }

protected:
    // A menu closing or a window of the program going away takes the grab
    // with it, and a window minimised behind the curtain is out of reach:
    // both are seen to once the event has passed.
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Every event of the program passes here: the cheap test first.
        const QEvent::Type type = event->type();
        if ((type == QEvent::Hide && lock_) || (type == QEvent::WindowStateChange && curtain_))
            if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
                // A window that held the keyboard lets it go as it goes: the
                // keyboard is taken again at once, before a key can slip by
                // to no window (Esc on the options, then at once Alt+O).
                if (type == QEvent::Hide && x_ && static_cast<QWidget*>(watched) != curtain_)
                    Regrab();
                check_.start();
            }
        return false;
    }

private:
    void Set(bool& flag, bool on) {
        flag = on;
        ShowCurtain();
        WatchWindows();
    }

    // The program's events are looked at only while something is locked: every
    // event passes an application's filter, the banner's 14 steps a second too.
    void WatchWindows() {
        const bool wanted = x_ && (lock_ || curtain_);
        if (wanted == watching_)
            return;
        watching_ = wanted;
        if (wanted)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
    }

    TWindowId WindowManager() const { return x_ ? x_->WindowManager() : kNoWindow; }
    bool OwnStackingWanted() const {
        return x_ && !KeepsItsStackingTrue(x_->WindowManagerName(),
                                           WindowManager() != kNoWindow && x_->SupportsStacking());
    }

    void UpdateNote(bool canAct, bool grabRefused) {
        const QString before = Note();
        canAct_ = canAct;
        grabRefused_ = grabRefused;
        if (Note() != before && OnNoteChanged)
            OnNoteChanged();
    }

    void ShowCurtain() {
        if (!CurtainWanted(options_)) {
            LiftCurtain();
            return;
        }
        if (!canAct_)
            return;
        coverPanels_ = CurtainCoversPanels(options_);
        if (!curtain_) {
            curtain_ = new TCurtain(ownStacking_);
            if (!ownStacking_)
                x_->MarkAsCurtain(static_cast<TWindowId>(curtain_->winId()));
        }
        QScreen* screen =
            main_ && main_->screen() ? main_->screen() : QGuiApplication::primaryScreen();
        if (screen != screen_) {
            if (screen_)
                disconnect(screen_, nullptr, this, nullptr);
            screen_ = screen;
            connect(screen_, &QScreen::availableGeometryChanged, this, [this] { Cover(); });
            connect(screen_, &QScreen::geometryChanged, this, [this] { Cover(); });
        }
        Cover();
        curtain_->show();
        Cover(); // once more through the window manager, now that it knows the curtain
        check_.start();
    }

    void Cover() {
        if (!curtain_ || !screen_)
            return;
        const QRect area = coverPanels_ ? screen_->geometry() : screen_->availableGeometry();
        curtain_->setGeometry(area);
        // A window manager keeps a window's own requests out of the panels'
        // strips; asked as a pager asks, it puts the curtain where it must be.
        if (curtain_->isVisible() && !ownStacking_) {
            x_->MoveResize(static_cast<TWindowId>(curtain_->winId()),
                           QRect(area.topLeft() * curtain_->devicePixelRatio(),
                                 area.size() * curtain_->devicePixelRatio()));
            x_->Flush();
        }
    }

    void LiftCurtain() {
        if (!curtain_)
            return;
        delete curtain_;
        curtain_ = nullptr;
        HoldPointer(false);
        lastReal_ = {};
        // The program's windows go back to the ordinary layer they were in.
        for (const TWindowId w : BackFromUpperLayer(x_->StackingOrder(), raisedAbove_)) {
            x_->SetUpperLayer(w, false);
            if (ownStacking_)
                x_->SetAboveDocks(w, false);
        }
        raisedAbove_.clear();
        last_.order.clear();
        x_->Flush();
    }

    // A window minimised behind the curtain could only come back through the
    // panels or the task switcher, which the lockdown takes away; it comes
    // back at once.
    void RestoreMinimized() {
        if (!curtain_)
            return;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != curtain_ && window->isVisible() && window->isMinimized()) {
                window->showNormal();
                window->activateWindow();
            }
    }

    // The program's windows the window manager knows of, but the curtain.
    std::set<TWindowId> OwnWindows() const {
        std::set<TWindowId> own;
        for (QWindow* window : QGuiApplication::allWindows())
            if (window->handle() && window->isVisible() &&
                (!curtain_ || window != curtain_->windowHandle()))
                own.insert(IdOf(window));
        return own;
    }

    // Puts the curtain above every other program's window and the program's
    // windows above the curtain, the active one on top, as far as they aren't
    // there yet.
    void Restack() {
        if (!curtain_ || !canAct_)
            return;
        if (ownStacking_) {
            RestackOwn();
            return;
        }
        TStacking now;
        now.order = x_->StackingOrder();
        now.curtain = static_cast<TWindowId>(curtain_->winId());
        now.own = OwnWindows();
        now.active = ActiveOwn(now.own);
        if (!RestackingDue(now, last_)) {
            // Nothing moved, but another program was made active.
            if (now.active != kNoWindow && x_->ActiveWindow() != now.active) {
                x_->Activate(now.active);
                x_->Flush();
            }
            return;
        }
        last_ = now;
        std::set<TWindowId> upperOfTheirOwn;
        for (const TWindowId w : now.order)
            if (now.own.count(w) && !raisedAbove_.count(w) && x_->InUpperLayer(w))
                upperOfTheirOwn.insert(w);
        const TRestacking restacking = DecideRestacking(now, raisedAbove_, upperOfTheirOwn);
        raisedAbove_ = restacking.askedUp;
        for (const TWindowId w : restacking.intoUpperLayer)
            x_->SetUpperLayer(w, true);
        for (const TWindowId w : restacking.raise)
            x_->Raise(w);
        if (restacking.activate != kNoWindow)
            x_->Activate(restacking.activate);
        else if (now.active != kNoWindow && x_->ActiveWindow() != now.active)
            x_->Activate(
                now.active); // a window the program opened, which the window manager left behind
        x_->Flush();
    }

    // The program's window to be on top and active: a modal one it shows
    // (which blocks the others, even where the window manager left it
    // behind), else as ActiveOwnWindow says.
    TWindowId ActiveOwn(const std::set<TWindowId>& own) const {
        if (const TWindowId modal = IdOf(QGuiApplication::modalWindow()); own.count(modal))
            return modal;
        // The options, the statistics or the about window, which the main
        // window waits for, disabled.
        if (main_ && !main_->isEnabled())
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window != main_ && window != curtain_ && window->isVisible() &&
                    !(window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip) &&
                    own.count(IdOf(window->windowHandle())))
                    return IdOf(window->windowHandle());
        const TWindowId active =
            ActiveOwnWindow(x_->ActiveWindow(), IdOf(QGuiApplication::focusWindow()), own);
        // Behind the curtain no other program is to be active (one that the
        // window manager activated as it came up, say): the main window is.
        if (active == kNoWindow && curtain_ && main_ && main_->isVisible() &&
            own.count(IdOf(main_->windowHandle())))
            return IdOf(main_->windowHandle());
        return active;
    }

    // The curtain outside the window manager: the real stacking order read and
    // put right (see the top of this file).
    void RestackOwn() {
        TRealStacking now;
        now.order = x_->RealStackingOrder();
        now.curtain = static_cast<TWindowId>(curtain_->winId());
        const std::set<TWindowId> own = OwnWindows();
        for (const TWindowId w : own)
            if (const TWindowId top = x_->TopLevelOf(w); top != kNoWindow)
                now.frameOf[w] = top;
        now.active = ActiveOwn(own);
        // Taken again after a menu only (Regrab): not at every change of the screen.
        if (pointerHeld_ != coverPanels_)
            HoldPointer(coverPanels_);

        const bool managed = WindowManager() != kNoWindow;
        if (now == lastReal_) {
            // Nothing moved, but another program was made active.
            if (managed && now.active != kNoWindow && x_->ActiveWindow() != now.active) {
                x_->Activate(now.active);
                x_->Flush();
            }
            return;
        }
        lastReal_ = now;
        TOwnRestacking restacking = DecideOwnRestacking(now);
        // A window manager that keeps something above the program's windows
        // whatever they ask (a panel in a layer of its own) is asked three
        // times; then the curtain goes right below them all the same.
        if (!restacking.raise.empty() && ++raiseTries_ > 3 && !now.frameOf.empty()) {
            restacking.raise.clear();
            TWindowId lowest = kNoWindow;
            for (const TWindowId w : now.order)
                for (const auto& [window, frame] : now.frameOf)
                    if (frame == w && lowest == kNoWindow)
                        lowest = w;
            restacking.curtainBelow = lowest;
        }
        if (restacking.raise.empty())
            raiseTries_ = 0;
        else // a window manager that doesn't raise them says nothing: looked at again
            QTimer::singleShot(200, this, [this] {
                lastReal_ = {};
                check_.start();
            });
        for (const TWindowId w : restacking.raise) {
            if (managed && !raisedAbove_.count(w) && !x_->InUpperLayer(w)) {
                x_->SetUpperLayer(w, true);
                x_->SetAboveDocks(w, true);
                raisedAbove_.insert(w);
            }
            x_->RaiseOwn(w);
        }
        if (managed && now.active != kNoWindow && x_->ActiveWindow() != now.active)
            x_->Activate(now.active);
        if (restacking.curtainBelow != kNoWindow)
            x_->PutBelow(now.curtain, restacking.curtainBelow);
        x_->Flush();
    }

    // Holds the mouse on the program's windows, or lets it go.
    void HoldPointer(bool hold) {
        if (!x_)
            return;
        if (hold && main_ && main_->isVisible())
            pointerHeld_ = x_->GrabPointer(IdOf(main_->windowHandle())) || pointerHeld_;
        else if (!hold && pointerHeld_) {
            x_->UngrabPointer();
            pointerHeld_ = false;
        }
    }

    // The window that keeps the keyboard: the one the lockdown keeps active
    // (a grab moves the toolkit's focus to its window, so a grab on the main
    // window while the options window is open would send every key to the
    // blocked main window), else the focused one, else the main window.
    QWindow* GrabWindow() const {
        if (const TWindowId active = ActiveOwn(OwnWindows()); active != kNoWindow)
            for (QWindow* window : QGuiApplication::allWindows())
                if (window->handle() && window->isVisible() && IdOf(window) == active)
                    return window;
        QWindow* focus = QGuiApplication::focusWindow();
        if (focus && focus->isVisible() && (!curtain_ || focus != curtain_->windowHandle()))
            return focus;
        if (main_ && main_->isVisible())
            return main_->windowHandle();
        return nullptr;
    }

    void Regrab() {
        if (!lock_ || !x_)
            return;
        // A menu holds the keyboard (and the mouse) itself while it is open.
        if (QApplication::activePopupWidget())
            return;
        if (curtain_ && ownStacking_)
            HoldPointer(coverPanels_);
        QWindow* window = GrabWindow();
        if (!window)
            return;
        const TXcbDesktop::TGrab grab = x_->GrabKeyboard(IdOf(window));
        // A window not on the screen yet is grabbed again when it shows.
        if (grab != TXcbDesktop::TGrab::NotViewable)
            UpdateNote(canAct_, grab == TXcbDesktop::TGrab::Refused);
    }

    void Ungrab() {
        if (x_)
            x_->UngrabKeyboard();
        UpdateNote(canAct_, false);
    }

    ILockdownOperations& system_;
    std::unique_ptr<TXcbDesktop> x_;      // none off screen or on Wayland
    TWindowId windowManager_ = kNoWindow; // as it names itself on the root window
    bool canAct_ = false, grabRefused_ = false;
    // The curtain is the program's own, outside the window manager.
    bool ownStacking_ = false;
    bool pointerHeld_ = false;
    int raiseTries_ = 0;
    TRealStacking lastReal_;
    TCurtainOptions options_;
    bool lock_ = false, coverPanels_ = false;
    bool watching_ = false; // the application's events pass eventFilter
    QPointer<QWidget> main_;
    QPointer<QScreen> screen_;
    TCurtain* curtain_ = nullptr;
    std::set<TWindowId> raisedAbove_; // the windows we asked into the upper layer
    TStacking last_;                  // the stacking order as last put right
    QTimer check_; // one look at the stacking order and the grab after a burst of changes
};

} // namespace

std::unique_ptr<IScreenLockdown> MakeScreenLockdown(ILockdownOperations& system) {
    return std::make_unique<TX11Lockdown>(system);
}

} // namespace kwizmar
