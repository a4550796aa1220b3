// The lockdown on a real X11 desktop: Xvfb, the openbox window manager, a
// panel along the top edge and another program's window. Whatever the tests
// look at they read from the X server and the window manager, and every key
// and click is a real one (xdotool).

#include "ExamJournal.h"
#include "ExamWindowFixture.h"
#include "GuiHelpers.h"
#include "Opcje.h"
#include "OtherClient.h"
#include "PrivateDisplay.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QScopeGuard>

#include <xcb/xcb.h>

#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

constexpr const char* kDesktop = "DesktopEnabled";
constexpr const char* kTaskbar = "TaskBarEnabled";

class LockdownX11Test : public ExamWindowTest {
protected:
    void SetUp() override {
        if (!HavePrivateDisplay())
            GTEST_SKIP() << "Xvfb is not installed";
        x_ = xcb_connect(nullptr, nullptr);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(x_)).data->root;
        panel_.emplace("dock");
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return QGuiApplication::primaryScreen()->availableGeometry().top() == 30; },
            5000));
    }
    void TearDown() override {
        if (x_)
            xcb_disconnect(x_);
    }

    void StoreBoxes(std::initializer_list<const char*> locked) {
        std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                           "[HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar]\r\n";
        for (const char* name : locked)
            text.append("\"").append(name).append("\"=dword:00000001\r\n");
        WriteSettingsFile(text);
    }

    xcb_atom_t Atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            x_, xcb_intern_atom(x_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply->atom;
        std::free(reply);
        return atom;
    }
    std::vector<std::uint32_t> Values(xcb_window_t w, const char* property) {
        std::vector<std::uint32_t> values;
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            x_, xcb_get_property(x_, 0, w, Atom(property), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr);
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return values;
    }
    // The window manager's stacking order, bottom to top.
    std::vector<std::uint32_t> Stacking() { return Values(root_, "_NET_CLIENT_LIST_STACKING"); }
    xcb_window_t Active() {
        const auto active = Values(root_, "_NET_ACTIVE_WINDOW");
        return active.empty() ? 0 : active[0];
    }
    QRect Geometry(xcb_window_t w) {
        xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(x_, xcb_get_geometry(x_, w), nullptr);
        xcb_translate_coordinates_reply_t* t = xcb_translate_coordinates_reply(
            x_, xcb_translate_coordinates(x_, w, root_, 0, 0), nullptr);
        const QRect r = g && t ? QRect(t->dst_x, t->dst_y, g->width, g->height) : QRect();
        std::free(g);
        std::free(t);
        return r;
    }
    bool Above(xcb_window_t w) {
        const auto states = Values(w, "_NET_WM_STATE");
        return std::find(states.begin(), states.end(), Atom("_NET_WM_STATE_ABOVE")) != states.end();
    }
    // Whether another program could take the keyboard now (it gives it back at once).
    bool KeyboardFree() {
        xcb_grab_keyboard_reply_t* reply =
            xcb_grab_keyboard_reply(x_,
                                    xcb_grab_keyboard(x_, 1, root_, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr);
        const bool free = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(reply);
        if (free)
            xcb_ungrab_keyboard(x_, XCB_CURRENT_TIME);
        xcb_flush(x_);
        return free;
    }

    QWidget* Curtain() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Curtain" && w->isVisible())
                return w;
        return nullptr;
    }
    xcb_window_t Id(QWidget* w) { return w ? static_cast<xcb_window_t>(w->winId()) : 0; }
    // The stacking order holds: every other window below the curtain, every
    // window of the program's (`own`) above it.
    bool CurtainBetween(std::initializer_list<xcb_window_t> others,
                        std::initializer_list<xcb_window_t> own) {
        const auto stack = Stacking();
        const auto at = [&](xcb_window_t w) {
            return std::find(stack.begin(), stack.end(), w) - stack.begin();
        };
        const auto curtain = at(Id(Curtain()));
        if (!Curtain() || curtain == std::ptrdiff_t(stack.size()))
            return false;
        for (xcb_window_t w : others)
            if (at(w) >= curtain)
                return false;
        for (xcb_window_t w : own)
            if (at(w) <= curtain || at(w) == std::ptrdiff_t(stack.size()))
                return false;
        return true;
    }

    void Xdotool(const QStringList& args) { ASSERT_EQ(QProcess::execute("xdotool", args), 0); }
    // A real key, and the program has it once `arrived` holds.
    template <typename F> void Press(const QString& keys, F arrived) {
        Xdotool({"key", keys});
        ASSERT_TRUE(QTest::qWaitFor(arrived, 5000)) << keys.toStdString();
    }
    void ClickAt(QPoint p) {
        Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1"});
    }
    // Counts the mouse presses a widget gets (a press soon after one at the
    // same place comes as a double-click); installed on the application, the
    // presses on the widgets of `window`.
    struct TPresses : QObject {
        QWidget* window = nullptr;
        int count = 0;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)
                count +=
                    !window || (o->isWidgetType() && static_cast<QWidget*>(o)->window() == window);
            return false;
        }
    };

    xcb_connection_t* x_ = nullptr;
    xcb_window_t root_ = 0;
    std::optional<TOtherClient> panel_; // 30 pixels high, its strip kept free
};

} // namespace

TEST_F(LockdownX11Test, EachBoxCoversItsPartBelowTheProgramAndTakesTheClicks) {
    TOtherClient other("window");
    const xcb_window_t panel = panel_->Window();
    struct Case {
        const char* box;
        QRect covered;
        bool panelReachable;
    };
    for (const Case& c :
         {Case{kDesktop, {0, 30, 1024, 738}, true}, Case{kTaskbar, {0, 0, 1024, 768}, false}}) {
        SCOPED_TRACE(c.box);
        StoreBoxes({c.box});
        Start();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return Curtain() && Geometry(Id(Curtain())) == c.covered &&
                       CurtainBetween({other.Window(), panel}, {Id(&Window())});
            },
            5000));

        // A click on the other program's window ends on the curtain.
        TPresses presses;
        Curtain()->installEventFilter(&presses);
        ClickAt({150, 200});
        ASSERT_TRUE(QTest::qWaitFor([&] { return presses.count == 1; }, 5000));
        ClickAt({900, 10});
        if (c.panelReachable)
            EXPECT_TRUE(QTest::qWaitFor([&] { return panel_->Output().contains("press"); }, 5000));
        else
            EXPECT_TRUE(QTest::qWaitFor([&] { return presses.count == 2; }, 5000));
        EXPECT_FALSE(other.Output().contains("press 150 200"));
        // The window manager raised the curtain it was clicked on; the program
        // is put back above it.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return CurtainBetween({other.Window(), panel}, {Id(&Window())});
            },
            5000));

        Window().close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Curtain() && KeyboardFree(); }, 5000));
        program.reset();
    }
}

TEST_F(LockdownX11Test, TheProgramStaysAboveTheCurtainWhenAWindowManagerComesLateOrIsReplaced) {
    StopWindowManager();
    StoreBoxes({kDesktop, kTaskbar});
    Start();
    const xcb_window_t main = Id(&Window());
    auto* note = program->Options().findChild<QLabel*>("LockdownNote");
    TPresses presses;
    presses.window = &Window();
    qApp->installEventFilter(&presses);
    const auto stopCounting = qScopeGuard([&] { qApp->removeEventFilter(&presses); });
    using TChange = void (*)();
    const TChange started = &StartWindowManager, replaced = &ReplaceWindowManager;
    for (TChange change : {started, replaced}) {
        SCOPED_TRACE(change == started ? "started" : "replaced");
        change();
        // The window manager found nothing of the program's active.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return note->isHidden() && CurtainBetween({panel_->Window()}, {main}) &&
                       Geometry(Id(Curtain())) == QRect(0, 0, 1024, 768) && !KeyboardFree();
            },
            5000));
        // A click on the main window reaches it, not the curtain. (Where the
        // window is the X server says: the program may not know yet.)
        auto* name = Find<QWidget>("NameEdit");
        const int before = presses.count;
        ClickAt(Geometry(main).topLeft() + name->mapTo(&Window(), name->rect().center()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return presses.count > before; }, 5000));
    }
}

TEST_F(LockdownX11Test, AltTabIsKeptFromTheWindowManagerUntilABoxIsUnchecked) {
    TOtherClient other("window");
    StoreBoxes({kDesktop, kTaskbar});
    Start();
    const xcb_window_t main = Id(&Window());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Active() == main && !KeyboardFree(); }, 5000));

    int altTabs = 0;
    struct TAltTabs : QObject {
        int* count;
        explicit TAltTabs(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::KeyPress)
                *count += static_cast<QKeyEvent*>(e)->key() == Qt::Key_Tab;
            return false;
        }
    } filter(&altTabs);
    qApp->installEventFilter(&filter);
    Press("alt+Tab", [&] { return altTabs > 0; });
    EXPECT_EQ(Active(), main);

    // The options window opens above the curtain and the main window, takes
    // the keyboard and a real click; unchecking the desktop's box lets the
    // keyboard go and leaves the panels covered.
    Press("alt+o", [&] { return program->Options().isVisible(); });
    Topcje& options = program->Options();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Active() == Id(&options) && Stacking().back() == Id(&options) &&
                   CurtainBetween({other.Window(), panel_->Window()}, {main, Id(&options)});
        },
        5000));
    auto* desktopBox = options.findChild<QCheckBox*>("CheckBox3");
    ClickAt(desktopBox->mapToGlobal(QPoint(6, desktopBox->height() / 2)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !desktopBox->isChecked(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return KeyboardFree(); }, 5000));
    EXPECT_EQ(Geometry(Id(Curtain())), QRect(0, 0, 1024, 768));

    Press("Escape", [&] { return !options.isVisible(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return Active() == main; }, 5000));
    altTabs = 0;
    Xdotool({"key", "alt+Tab"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return Active() == other.Window(); }, 5000));
    EXPECT_EQ(altTabs, 0);
    qApp->removeEventFilter(&filter);

    // The other box unchecked too: nothing of the lockdown is left.
    program->Options().SetOption(TOption::TaskBarEnabled, false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Curtain() && !Above(main); }, 5000));
}

TEST_F(LockdownX11Test, AnExamRunsToItsSummaryWithBothBoxesAndRealKeys) {
    StoreBoxes({kDesktop, kTaskbar});
    StartOnSample();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Curtain() && !KeyboardFree(); }, 5000));

    // "&Start" without a name: the message box comes up above the curtain and
    // takes Enter.
    bool closed = false;
    EXPECT_TRUE(WithModal(
        [&] {
            Xdotool({"key", "Return"});
            EXPECT_TRUE(QTest::qWaitFor([&] { return closed; }, 5000)); // the box runs in here
        },
        [&](QWidget* box) {
            // Whatever fails below, the box goes, or its loop would never end.
            const auto close = qScopeGuard([&] {
                if (box->isVisible())
                    box->close();
                closed = true;
            });
            // The key goes where the keyboard is held: to the box once the
            // window manager has made it the active window.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    return CurtainBetween({}, {Id(&Window()), Id(box)}) &&
                           QGuiApplication::focusWindow() == box->windowHandle();
                },
                5000));
            Press("Return", [&] { return !box->isVisible(); });
        }));

    ASSERT_TRUE(QTest::qWaitFor([&] { return FocusName() == "NameEdit"; }, 5000));
    Xdotool({"type", "Żółć"});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Find<QLineEdit>("NameEdit")->text() == "Żółć"; }, 5000))
        << Find<QLineEdit>("NameEdit")->text().toStdString();
    Press("Return", [&] { return Shown("Panel3"); });
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k + 1);
        if (Shown("Panel7")) { // the form chooser: the test form
            Press("alt+t", [&] { return Find<QRadioButton>("RBTest")->isChecked(); });
            Press("Return", [&] { return !Shown("Panel7"); });
        }
        const char letter = kGeografiaAnswers[k];
        Press(QStringLiteral("alt+%1").arg(letter), [&] {
            return Find<QRadioButton>(std::string(1, char(letter - 32)).c_str())->isChecked();
        });
        Press("Return", [&] { return Shown("ODPPanel"); });
        Press("Return", [&] { return !Shown("ODPPanel"); });
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel4"); }, 5000));
    EXPECT_EQ(Text("RxLabel5"), "Żółć gratuluję przejścia egzaminu");
    EXPECT_TRUE(CurtainBetween({}, {Id(&Window())}));

    // Minimised, the window would be out of reach behind the curtain: it
    // comes back at once, with the keyboard.
    Xdotool({"windowminimize", QString::number(Id(&Window()))});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !Window().isMinimized() && Window().isActiveWindow() &&
                   Active() == Id(&Window()) && !KeyboardFree();
        },
        5000));
}

TEST_F(LockdownX11Test, AProgramKilledLeavesNoCurtainAndNoGrab) {
    StoreBoxes({kDesktop, kTaskbar});
    QProcess kwizmar;
    kwizmar.setProgram(QCoreApplication::applicationDirPath() + "/kwizmar");
    kwizmar.start();
    const auto itsWindows = [&] {
        int n = 0;
        for (xcb_window_t w : Stacking()) {
            const auto pid = Values(w, "_NET_WM_PID");
            n += !pid.empty() && pid[0] == std::uint32_t(kwizmar.processId());
        }
        return n;
    };
    // The main window and the curtain; the keyboard is held.
    ASSERT_TRUE(QTest::qWaitFor([&] { return itsWindows() == 2 && !KeyboardFree(); }, 10000));
    ::kill(pid_t(kwizmar.processId()), SIGKILL);
    EXPECT_TRUE(QTest::qWaitFor([&] { return itsWindows() == 0 && KeyboardFree(); }, 5000));
    kwizmar.waitForFinished();
}

TEST_F(LockdownX11Test, AKeyboardHeldByAnotherProgramIsNotedInTheOptions) {
    ASSERT_TRUE(KeyboardFree());
    xcb_grab_keyboard_reply_t* grab = xcb_grab_keyboard_reply(
        x_,
        xcb_grab_keyboard(x_, 1, root_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    ASSERT_EQ(grab->status, XCB_GRAB_STATUS_SUCCESS);
    std::free(grab);
    StoreBoxes({kDesktop});
    Start();
    auto* note = program->Options().findChild<QLabel*>("LockdownNote");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !note->isHidden(); }, 5000));
    EXPECT_TRUE(Curtain());

    // Once it lets the keyboard go, the program takes it at the next window.
    xcb_ungrab_keyboard(x_, XCB_CURRENT_TIME);
    xcb_flush(x_);
    program->Options().show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return note->isHidden() && !KeyboardFree(); }, 5000));
}

// A lockdown the lab's administrator fixed: the curtain stands from the start
// whatever the pupil's own settings say, and the options window can't lift it.
TEST_F(LockdownX11Test, ALockdownTheLabFixedCannotBeLiftedByThePupil) {
    WriteLabSetup("\"DesktopEnabled\"=dword:00000001\n");
    StoreBoxes({});
    StartOnSample();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Curtain() && !KeyboardFree(); }, 5000));
    auto* desktop = program->Options().findChild<QAbstractButton*>("CheckBox3");
    EXPECT_TRUE(desktop->isChecked());
    EXPECT_FALSE(desktop->isEnabled());
    EXPECT_EQ(program->Options().findChild<QLabel*>("LabNote")->text(),
              QString::fromUtf8("Opcje wyszarzone ustalił administrator pracowni."));
    program->Options().show();
    desktop->click(); // refused, as a click on a greyed box is
    QTest::qWait(200);
    EXPECT_TRUE(Curtain() != nullptr);
    EXPECT_TRUE(program->Options().Get(TOption::DesktopEnabled));
}

// An exam cut short by a crash is asked about behind the curtain already: the
// pupil never sees a free desktop while its clock runs.
TEST_F(LockdownX11Test, TheCurtainStandsBeforeTheQuestionAboutAnExamCutShort) {
    StoreBoxes({kDesktop});
    {
        TExamJournal cut;
        cut.testPath = (dir.path() / "nie-ma.ts2").string();
        cut.testName = "\"Geografia Polski\"";
        cut.userName = "Ala";
        cut.minutesAllowed = 10;
        cut.startedAt = std::time(nullptr) - 60;
        cut.deadline = cut.startedAt + 600;
        cut.secondsLeft = 540;
        cut.questionCountText = "5";
        cut.maxPointsText = "9";
        std::filesystem::create_directories(UserDataFolder());
        TExamJournalFile(UserDataFolder() / TExamJournalFile::kFileName).Write(cut);
    }
    bool curtainFirst = false;
    EXPECT_TRUE(WithModal([&] { Start(); },
                          [&](QWidget* box) {
                              curtainFirst = box->objectName() == "ResumeBox" && Curtain();
                              box->close();
                          }));
    EXPECT_TRUE(curtainFirst);
}

namespace {

// The window managers of the desktops schools run, each as its desktop starts it.
struct TDesktop {
    const char* name;
    std::vector<std::string> command;
};
const TDesktop kDesktops[] = {
    {"xfwm4", {"dbus-run-session", "--", "xfwm4", "--replace", "--compositor=off"}},
    {"marco", {"dbus-run-session", "--", "marco", "--replace", "--no-composite"}},
    {"metacity", {"dbus-run-session", "--", "metacity", "--replace", "--no-composite"}},
    {"icewm", {"icewm", "--replace"}},
    {"fluxbox", {"fluxbox"}},
    {"kwin_x11", {"dbus-run-session", "--", "kwin_x11", "--replace"}},
};

class LockdownDesktopTest : public LockdownX11Test, public ::testing::WithParamInterface<TDesktop> {
protected:
    void SetUp() override {
        LockdownX11Test::SetUp();
        if (IsSkipped())
            return;
        const std::string program =
            GetParam().command[GetParam().command[0] == "dbus-run-session" ? 2 : 0];
        if (QProcess::execute(
                "sh", {"-c", QString::fromStdString("command -v " + program + " >/dev/null")}) != 0)
            GTEST_SKIP() << program << " is not installed";
        StartWindowManager(GetParam().command);
    }
    void TearDown() override {
        program.reset();
        StartWindowManager(); // openbox again, for the tests after
        LockdownX11Test::TearDown();
    }
    // The X server's stacking order, bottom first: the root's children on the screen.
    std::vector<xcb_window_t> RealOrder() {
        std::vector<xcb_window_t> order;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(x_, xcb_query_tree(x_, root_), nullptr);
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree); ++i) {
            const xcb_window_t w = xcb_query_tree_children(tree)[i];
            xcb_get_window_attributes_reply_t* a =
                xcb_get_window_attributes_reply(x_, xcb_get_window_attributes(x_, w), nullptr);
            const QRect g = Geometry(w);
            if (a && a->map_state == XCB_MAP_STATE_VIEWABLE &&
                a->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT && g.width() > 1 && g.height() > 1 &&
                g.intersects(QRect(0, 0, 1024, 768)))
                order.push_back(w);
            std::free(a);
        }
        std::free(tree);
        return order;
    }
    // Where `w` stands in RealOrder(): the place of the root's child holding it.
    std::ptrdiff_t Place(const std::vector<xcb_window_t>& order, xcb_window_t w) {
        for (int depth = 0; depth < 16 && w; ++depth) {
            const auto at = std::find(order.begin(), order.end(), w);
            if (at != order.end())
                return at - order.begin();
            xcb_query_tree_reply_t* tree = xcb_query_tree_reply(x_, xcb_query_tree(x_, w), nullptr);
            w = tree ? tree->parent : 0;
            std::free(tree);
        }
        return -1;
    }
    // What the screen shows, for a failure's message: the real order of the
    // windows named, the active one, the curtain's area, the keyboard.
    std::string Describe(std::initializer_list<std::pair<const char*, xcb_window_t>> named) {
        const auto order = RealOrder();
        std::string text = "of " + std::to_string(order.size()) + ":";
        for (const auto& [name, w] : named)
            text += std::string(" ") + name + "@" + std::to_string(Place(order, w));
        const QRect g = Curtain() ? Geometry(Id(Curtain())) : QRect();
        text += " active " + std::to_string(Active()) + " curtain " + std::to_string(g.width()) +
                "x" + std::to_string(g.height()) + (KeyboardFree() ? " keyboard free" : "");
        return text;
    }
    // As the X server stacks them: the others below the curtain, `own` above it.
    bool ReallyBetween(std::initializer_list<xcb_window_t> others,
                       std::initializer_list<xcb_window_t> own) {
        const auto order = RealOrder();
        const auto curtain = Place(order, Id(Curtain()));
        if (!Curtain() || curtain < 0)
            return false;
        for (xcb_window_t w : others)
            if (Place(order, w) > curtain)
                return false;
        for (xcb_window_t w : own)
            if (Place(order, w) <= curtain)
                return false;
        return true;
    }
};

} // namespace

// Under each window manager: the curtain over the desktop and the panel, the
// exam above it, another program out of reach of the mouse and the keyboard,
// the options window on top and active at every opening, nothing left after.
TEST_P(LockdownDesktopTest, TheExamIsAloneOnTheScreenAndItsWindowsOnTop) {
    TOtherClient other("window");
    StoreBoxes({kDesktop, kTaskbar});
    StartOnSample();
    const xcb_window_t main = Id(&Window());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Curtain() && Geometry(Id(Curtain())) == QRect(0, 0, 1024, 768) &&
                   ReallyBetween({other.Window(), panel_->Window()}, {main}) && !KeyboardFree();
        },
        5000))
        << Describe({{"curtain", Id(Curtain())},
                     {"main", main},
                     {"other", other.Window()},
                     {"panel", panel_->Window()}});
    ClickAt({150, 200});
    ClickAt({900, 10});
    Xdotool({"key", "alt+Tab"});
    QTest::qWait(300);
    EXPECT_FALSE(other.Output().contains("press"));
    EXPECT_FALSE(panel_->Output().contains("press"));
    EXPECT_TRUE(ReallyBetween({other.Window(), panel_->Window()}, {main}));

    Topcje& options = program->Options();
    for (int opening = 1; opening <= 5; ++opening) {
        SCOPED_TRACE(opening);
        Press("alt+o", [&] { return options.isVisible(); });
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const auto order = RealOrder();
                return Active() == Id(&options) &&
                       Place(order, Id(&options)) == std::ptrdiff_t(order.size()) - 1 &&
                       ReallyBetween({other.Window()}, {main, Id(&options)});
            },
            5000))
            << Describe({{"curtain", Id(Curtain())},
                         {"main", main},
                         {"options", Id(&options)},
                         {"other", other.Window()}})
            << " options " << Id(&options);
        Press("Escape", [&] { return !options.isVisible(); });
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return Active() == main; }, 5000));

    Window().close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Curtain() && KeyboardFree(); }, 5000));
}

INSTANTIATE_TEST_SUITE_P(Desktops, LockdownDesktopTest, ::testing::ValuesIn(kDesktops),
                         [](const ::testing::TestParamInfo<TDesktop>& info) {
                             return std::string(info.param.name);
                         });

// A window manager of another kind taking over mid-exam: its curtain comes
// with it, below the exam, and the keyboard stays with the exam.
TEST_F(LockdownX11Test, AWindowManagerOfAnotherKindTakingOverKeepsTheExamOnTop) {
    TOtherClient other("window");
    StoreBoxes({kDesktop, kTaskbar});
    StartOnSample();
    const xcb_window_t main = Id(&Window());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Curtain() && !KeyboardFree(); }, 5000));
    if (QProcess::execute("sh", {"-c", "command -v xfwm4 >/dev/null"}) != 0)
        GTEST_SKIP() << "xfwm4 is not installed";
    ReplaceWindowManager({"dbus-run-session", "--", "xfwm4", "--replace", "--compositor=off"});
    const auto stopped = qScopeGuard([] { StartWindowManager(); });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            QWidget* curtain = Curtain();
            return curtain && (curtain->windowFlags() & Qt::X11BypassWindowManagerHint) &&
                   !KeyboardFree() && Active() == main;
        },
        10000));
    auto* name = Find<QWidget>("NameEdit");
    ClickAt(Geometry(main).topLeft() + name->mapTo(&Window(), name->rect().center()));
    Xdotool({"type", "Ola"});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return qobject_cast<QLineEdit*>(name)->text().endsWith(QStringLiteral("Ola")); },
        5000));
    EXPECT_FALSE(other.Output().contains("press"));
}
