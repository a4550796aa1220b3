#include "ScreenLockdown.h"

#include "ErrorHandler.h"
#include "LockdownStacking.h"
#include "Settings.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <vector>

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
// order is checked and put right (LockdownStacking.h decides how; this side
// reads the order and sends the requests), also under a window manager that
// comes after the program or takes over from another. One that finds nothing
// active treats a frameless window as large as the screen as a full-screen
// one and keeps it above every other window (openbox does): a window of the
// program below the curtain is then made the active one.

const char* const kNoDesktopNote =
    "Na tym pulpicie program nie może ukryć pulpitu i paska zadań ani zablokować "
    "przełączania okien.";
const char* const kGrabRefusedNote =
    "Klawiaturę trzyma inny program: przełączanie okien nie jest zablokowane.";

xcb_connection_t* XConnection() {
    // Off screen or on Wayland there is no X server to ask. (The off-screen
    // platform may offer an X11 interface too, without a connection.)
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// A property holding 32-bit values (windows, atoms, cardinals).
std::vector<std::uint32_t> Values(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                  xcb_atom_t type) {
    std::vector<std::uint32_t> values;
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 4096), nullptr);
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

bool Contains(const std::vector<std::uint32_t>& values, std::uint32_t value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

struct TAtoms {
    explicit TAtoms(xcb_connection_t* c)
        : supported(Atom(c, "_NET_SUPPORTED")), check(Atom(c, "_NET_SUPPORTING_WM_CHECK")),
          stacking(Atom(c, "_NET_CLIENT_LIST_STACKING")), state(Atom(c, "_NET_WM_STATE")),
          above(Atom(c, "_NET_WM_STATE_ABOVE")), skipTaskbar(Atom(c, "_NET_WM_STATE_SKIP_TASKBAR")),
          skipPager(Atom(c, "_NET_WM_STATE_SKIP_PAGER")), restack(Atom(c, "_NET_RESTACK_WINDOW")),
          moveResize(Atom(c, "_NET_MOVERESIZE_WINDOW")), activate(Atom(c, "_NET_ACTIVE_WINDOW")),
          protocols(Atom(c, "WM_PROTOCOLS")), deleteWindow(Atom(c, "WM_DELETE_WINDOW")) {}
    xcb_atom_t supported, check, stacking, state, above, skipTaskbar, skipPager, restack,
        moveResize, activate, protocols, deleteWindow;
};

// The curtain: the program's name on a plain colour.
class TCurtain final : public QWidget {
public:
    TCurtain()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                               Qt::WindowStaysOnTopHint) {
        setObjectName(QStringLiteral("Curtain"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setWindowTitle(ApplicationTitle());
        setCursor(Qt::ArrowCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0, 64, 128));
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(std::max(16, height() / 12));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(160, 190, 220));
        // Above the middle, where the main window doesn't hide it.
        painter.drawText(QRect(0, 0, width(), height() / 5), Qt::AlignCenter,
                         QString::fromUtf8(kApplicationTitle));
    }
    // Clicks end here and go nowhere; the window manager can't close it.
    void mousePressEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent*) override {}
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

class TX11Lockdown final : public QObject,
                           public IScreenLockdown,
                           public QAbstractNativeEventFilter {
public:
    explicit TX11Lockdown(ILockdownOperations& system) : system_(system), c_(XConnection()) {
        if (c_) {
            atoms_.emplace(c_);
            root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
            // The window manager's stacking order and the work area are
            // properties of the root window.
            xcb_get_window_attributes_reply_t* attributes =
                xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, root_), nullptr);
            const std::uint32_t mask =
                (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
            std::free(attributes);
            xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
            xcb_flush(c_);
            qApp->installNativeEventFilter(this);
            connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { check_.start(); });
        }
        windowManager_ = WindowManager();
        canAct_ = WindowManagerHonoursStacking();
        check_.setSingleShot(true);
        check_.setInterval(0);
        connect(&check_, &QTimer::timeout, this, [this] {
            // A window manager that came, went or took over from another:
            // the stacking order is looked at anew.
            if (c_) {
                const xcb_window_t windowManager = WindowManager();
                UpdateNote(windowManager != XCB_NONE && SupportsStacking(), grabRefused_);
                if (windowManager != windowManager_) {
                    windowManager_ = windowManager;
                    last_.order.clear();
                }
            }
            // A window manager that came after the lockdown was asked for.
            if (!curtain_ && CurtainWanted())
                ShowCurtain();
            RestoreMinimized();
            Restack();
            Regrab();
            WatchWindows();
        });
    }

    ~TX11Lockdown() override {
        if (c_)
            qApp->removeNativeEventFilter(this);
        delete curtain_;
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
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
            const auto* property = static_cast<const xcb_property_notify_event_t*>(message);
            if (property->window == root_ &&
                (property->atom == atoms_->stacking || property->atom == atoms_->activate ||
                 property->atom == atoms_->check || property->atom == atoms_->supported))
                check_.start();
        }
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
            if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
                check_.start();
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
        const bool wanted = c_ && (lock_ || curtain_);
        if (wanted == watching_)
            return;
        watching_ = wanted;
        if (wanted)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
    }

    // The window the running window manager names itself by; none while there
    // is none.
    xcb_window_t WindowManager() const {
        if (!c_)
            return XCB_NONE;
        const auto checkWindow = Values(c_, root_, atoms_->check, XCB_ATOM_WINDOW);
        if (checkWindow.empty() ||
            Values(c_, checkWindow[0], atoms_->check, XCB_ATOM_WINDOW) != checkWindow)
            return XCB_NONE;
        return checkWindow[0];
    }

    bool WindowManagerHonoursStacking() const {
        return WindowManager() != XCB_NONE && SupportsStacking();
    }
    bool SupportsStacking() const {
        const auto supported = Values(c_, root_, atoms_->supported, XCB_ATOM_ATOM);
        return Contains(supported, atoms_->stacking) && Contains(supported, atoms_->above) &&
               Contains(supported, atoms_->restack);
    }

    void UpdateNote(bool canAct, bool grabRefused) {
        const QString before = Note();
        canAct_ = canAct;
        grabRefused_ = grabRefused;
        if (Note() != before && OnNoteChanged)
            OnNoteChanged();
    }

    bool CurtainWanted() const { return kwizmar::CurtainWanted(options_); }

    void ShowCurtain() {
        if (!CurtainWanted()) {
            LiftCurtain();
            return;
        }
        UpdateNote(WindowManagerHonoursStacking(), grabRefused_);
        if (!canAct_)
            return;
        coverPanels_ = CurtainCoversPanels(options_);
        if (!curtain_) {
            curtain_ = new TCurtain;
            curtain_->winId();
            // Not in the task list or the pager; only the window manager's
            // close request, no focus to take.
            const xcb_window_t w = static_cast<xcb_window_t>(curtain_->winId());
            const xcb_atom_t states[] = {atoms_->skipTaskbar, atoms_->skipPager};
            xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w, atoms_->state, XCB_ATOM_ATOM, 32, 2,
                                states);
            xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w, atoms_->protocols, XCB_ATOM_ATOM, 32,
                                1, &atoms_->deleteWindow);
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
        if (curtain_->isVisible()) {
            const QRect native = QRect(area.topLeft() * curtain_->devicePixelRatio(),
                                       area.size() * curtain_->devicePixelRatio());
            constexpr std::uint32_t kNorthWest = 1, kXYWH = 0xf00, kPager = 2u << 12;
            SendToWindowManager(static_cast<xcb_window_t>(curtain_->winId()), atoms_->moveResize,
                                kNorthWest | kXYWH | kPager, std::uint32_t(native.x()),
                                std::uint32_t(native.y()), std::uint32_t(native.width()),
                                std::uint32_t(native.height()));
            xcb_flush(c_);
        }
    }

    void LiftCurtain() {
        if (!curtain_)
            return;
        delete curtain_;
        curtain_ = nullptr;
        // The program's windows go back to the ordinary layer they were in.
        const auto stack = Values(c_, root_, atoms_->stacking, XCB_ATOM_WINDOW);
        for (const xcb_window_t w : BackFromUpperLayer(stack, raisedAbove_))
            ChangeState(w, false, atoms_->above);
        raisedAbove_.clear();
        last_.order.clear();
        xcb_flush(c_);
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
                own.insert(static_cast<xcb_window_t>(window->winId()));
        return own;
    }

    // Puts the curtain above every other program's window and the program's
    // windows above the curtain, the active one on top, as far as they aren't
    // there yet.
    void Restack() {
        if (!curtain_ || !canAct_)
            return;
        TStacking now;
        now.order = Values(c_, root_, atoms_->stacking, XCB_ATOM_WINDOW);
        now.curtain = static_cast<xcb_window_t>(curtain_->winId());
        now.own = OwnWindows();
        const QWindow* focus = QGuiApplication::focusWindow();
        const auto windowManagersActive = Values(c_, root_, atoms_->activate, XCB_ATOM_WINDOW);
        now.active = ActiveOwnWindow(
            windowManagersActive.empty() ? kNoWindow : windowManagersActive[0],
            focus ? static_cast<xcb_window_t>(focus->winId()) : kNoWindow, now.own);
        if (!RestackingDue(now, last_))
            return;
        last_ = now;
        std::set<TWindowId> upperOfTheirOwn;
        for (const xcb_window_t w : now.order)
            if (now.own.count(w) && !raisedAbove_.count(w) &&
                Contains(Values(c_, w, atoms_->state, XCB_ATOM_ATOM), atoms_->above))
                upperOfTheirOwn.insert(w);
        const TRestacking restacking = DecideRestacking(now, raisedAbove_, upperOfTheirOwn);
        raisedAbove_ = restacking.askedUp;
        for (const xcb_window_t w : restacking.intoUpperLayer)
            ChangeState(w, true, atoms_->above);
        for (const xcb_window_t w : restacking.raise)
            Raise(w);
        if (restacking.activate != kNoWindow)
            Activate(restacking.activate);
        xcb_flush(c_);
    }

    void SendToWindowManager(xcb_window_t window, xcb_atom_t type, std::uint32_t d0,
                             std::uint32_t d1, std::uint32_t d2, std::uint32_t d3 = 0,
                             std::uint32_t d4 = 0) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = type;
        message.data.data32[0] = d0;
        message.data.data32[1] = d1;
        message.data.data32[2] = d2;
        message.data.data32[3] = d3;
        message.data.data32[4] = d4;
        xcb_send_event(c_, 0, root_,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    }
    void ChangeState(xcb_window_t window, bool add, xcb_atom_t state) {
        // the last is the source: a pager, whose wishes are the user's own
        SendToWindowManager(window, atoms_->state, add ? 1 : 0, state, 0, 2);
    }
    void Activate(xcb_window_t window) {
        // source 2 (a pager), no time, nothing of ours active
        SendToWindowManager(window, atoms_->activate, 2, XCB_CURRENT_TIME, XCB_NONE);
    }
    void Raise(xcb_window_t window) {
        // _NET_RESTACK_WINDOW: source 2 (a pager), no sibling, Above.
        SendToWindowManager(window, atoms_->restack, 2, XCB_NONE, XCB_STACK_MODE_ABOVE);
    }

    // The window that keeps the keyboard: the program's active window, or the
    // main window while none of the program's windows is active.
    QWindow* GrabWindow() const {
        QWindow* focus = QGuiApplication::focusWindow();
        if (focus && focus->isVisible() && (!curtain_ || focus != curtain_->windowHandle()))
            return focus;
        if (main_ && main_->isVisible())
            return main_->windowHandle();
        return nullptr;
    }

    void Regrab() {
        if (!lock_ || !c_)
            return;
        UpdateNote(WindowManagerHonoursStacking(), grabRefused_);
        // A menu holds the keyboard itself while it is open.
        if (!canAct_ || QApplication::activePopupWidget())
            return;
        QWindow* window = GrabWindow();
        if (!window)
            return;
        xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(
            c_,
            xcb_grab_keyboard(c_, 1, static_cast<xcb_window_t>(window->winId()), XCB_CURRENT_TIME,
                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
            nullptr);
        const std::uint8_t status =
            reply ? reply->status : std::uint8_t(XCB_GRAB_STATUS_NOT_VIEWABLE);
        std::free(reply);
        // A window not on the screen yet is grabbed again when it shows.
        if (status != XCB_GRAB_STATUS_NOT_VIEWABLE)
            UpdateNote(canAct_, status == XCB_GRAB_STATUS_ALREADY_GRABBED ||
                                    status == XCB_GRAB_STATUS_FROZEN);
    }

    void Ungrab() {
        if (c_ && canAct_) {
            xcb_ungrab_keyboard(c_, XCB_CURRENT_TIME);
            xcb_flush(c_);
        }
        UpdateNote(canAct_, false);
    }

    ILockdownOperations& system_;
    xcb_connection_t* c_ = nullptr;
    std::optional<TAtoms> atoms_;
    xcb_window_t root_ = XCB_NONE;
    xcb_window_t windowManager_ = XCB_NONE; // as it names itself on the root window
    bool canAct_ = false, grabRefused_ = false;
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
