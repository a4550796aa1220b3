// The options window in the running program: clicks, what they store, what
// they switch at once, and the exam reading its option from here.

#include "Opcje.h"
#include "GuiHelpers.h"
#include "LockdownRecorder.h"
#include "ProgramFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class OpcjeTest : public ProgramTest {
protected:
    Topcje& Options() { return program->Options(); }
    template <typename T = QAbstractButton> T* Control(const char* name) {
        return Options().findChild<T*>(QString::fromLatin1(name));
    }
    void Open() {
        QTest::mouseClick(Button("SpeedButton5"), Qt::LeftButton);
        ASSERT_TRUE(Options().isVisible());
        ASSERT_FALSE(Window().isEnabled());
    }
    void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }
    bool Stores(const std::string& name, int value) {
        const std::string line = "\"" + name + "\"=dword:0000000" + std::to_string(value);
        return SettingsFile().find(line) != std::string::npos;
    }
    std::vector<std::string> LockdownCalls() {
        std::vector<std::string> calls;
        for (const TLockdownCall& call : ProcessLockdownRecorder().Calls())
            calls.push_back(call.ToString());
        return calls;
    }
};

} // namespace

TEST_F(OpcjeTest, TheWindowAsItOpensOnAFirstStart) {
    Start();
    Open();
    EXPECT_EQ(Options().windowTitle(), "Nerbaly KWIZMAR 2002 - Opcje");
    EXPECT_EQ(Options().size(), QSize(407, 325));
    struct Expected {
        const char* name;
        const char* caption;
        QPoint position;
        bool checked, enabled;
    };
    // The stored defaults are in: scrolling on, so both radio buttons enabled.
    const Expected controls[] = {
        {"CheckBox108", "Przewijaj tytuł programu:", {16, 8}, true, true},
        {"RadioButton34", "tylko na pasku programu", {40, 27}, true, true},
        {"RadioButton35", "na pasku programu i pasku zadań", {40, 46}, false, true},
        {"CheckBox1", "Zablokuj edytowanie statystyk", {16, 72}, false, true},
        {"CheckBox2", "Wyświetlaj każdą opowiedź w formie testowej", {16, 96}, false, true},
        {"CheckBox5", "Losowa kolejność pytań", {16, 120}, false, true},
        {"CheckBox6", "Losowa kolejność odpowiedzi", {16, 144}, false, true},
        {"CheckBox3", "wyłącz i ukryj pulpit", {40, 192}, false, true},
        {"CheckBox4", "wyłącz i ukryj przycisk Start i cały pasek zadań", {40, 216}, false, true},
    };
    for (const Expected& c : controls) {
        SCOPED_TRACE(c.name);
        QAbstractButton* b = Control(c.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(b->pos(), c.position);
        EXPECT_EQ(b->isChecked(), c.checked);
        EXPECT_EQ(b->isEnabled(), c.enabled);
        EXPECT_LE(b->geometry().right(), Options().width()); // nothing cut off at the right
    }
    EXPECT_EQ(Control("CheckBox108")->toolTip(),
              "Uaktywnia opcje przewijania tytułu na pasku zadań");
    EXPECT_EQ(Control("RadioButton35")->toolTip(),
              "Skroluje tytuł programu na psaku programu i pasku zadań");
    EXPECT_EQ(Control("SpeedButton1")->text(), "&OK");
    EXPECT_EQ(Control("SpeedButton1")->pos(), QPoint(320, 256));
    EXPECT_EQ(Options().findChild<QWidget*>("Label1")->pos(), QPoint(16, 176));
    EXPECT_TRUE(Stores("Scroll", 1)); // written back by the start-up
    Options().grab().save(QString::fromStdString((dir.path() / "opcje.png").string()));
}

TEST_F(OpcjeTest, EachClickWritesItsValueAndScrollingKeepsTheRadioChoice) {
    Start();
    Open();
    const std::pair<const char*, const char*> boxes[] = {{"CheckBox1", "Statystyki"},
                                                         {"CheckBox2", "Odp"}};
    for (const auto& [box, value] : boxes) {
        Click(box);
        EXPECT_TRUE(Control(box)->isChecked()) << box;
        EXPECT_TRUE(Stores(value, 1)) << value;
        Click(box);
        EXPECT_TRUE(Stores(value, 0)) << value;
    }
    EXPECT_TRUE(Options().Get(TOption::Scroll));
    Click("RadioButton35");
    EXPECT_TRUE(Stores("PZadan", 1));
    EXPECT_TRUE(program->Settings().Options.Get(TOption::PZadan));

    Click("CheckBox108");
    EXPECT_TRUE(Stores("Scroll", 0));
    EXPECT_FALSE(Control("RadioButton35")->isEnabled());
    EXPECT_FALSE(Control("RadioButton34")->isEnabled());
    EXPECT_TRUE(Control<QRadioButton>("RadioButton35")->isChecked());
    Click("CheckBox108");
    EXPECT_TRUE(Stores("Scroll", 1));
    EXPECT_TRUE(Control("RadioButton35")->isEnabled());
    EXPECT_TRUE(Control<QRadioButton>("RadioButton35")->isChecked());

    // The chosen radio button clicked again changes and writes nothing.
    WriteSettingsFile(SettingsFile() + "\n");
    const std::string before = SettingsFile();
    Click("RadioButton35");
    EXPECT_EQ(SettingsFile(), before);
    Click("RadioButton34");
    EXPECT_TRUE(Stores("PZadan", 0));
    EXPECT_FALSE(program->Settings().Options.Get(TOption::PZadan));
}

TEST_F(OpcjeTest, LockdownCallsInOrderWithBothBoxesAndAfterARestart) {
    Start();
    Open();
    ProcessLockdownRecorder().Clear();
    Click("CheckBox3");
    Click("CheckBox4");
    EXPECT_TRUE(Stores("DesktopEnabled", 1));
    EXPECT_TRUE(Stores("TaskBarEnabled", 1));
    Click("CheckBox3"); // the task-switch lock goes with it though the taskbar stays locked
    EXPECT_TRUE(Stores("DesktopEnabled", 0));
    EXPECT_EQ(LockdownCalls(),
              (std::vector<std::string>{"ShowDesktopIcons(false)", "EnableDesktopView(false)",
                                        "LockTaskSwitch(true)", "ShowTaskbar(false)",
                                        "EnableTaskbar(false)", "EnableStartButton(false)",
                                        "LockTaskSwitch(true)", "ShowDesktopIcons(true)",
                                        "EnableDesktopView(true)", "LockTaskSwitch(false)"}));

    // The next start puts the stored taskbar lockdown in through the window.
    Options().close();
    program->MainWindow().close();
    program.reset();
    ProcessLockdownRecorder().Clear();
    Start();
    EXPECT_EQ(LockdownCalls(),
              (std::vector<std::string>{"ShowTaskbar(false)", "EnableTaskbar(false)",
                                        "EnableStartButton(false)", "LockTaskSwitch(true)"}));
    EXPECT_TRUE(Control("CheckBox4")->isChecked());
    EXPECT_FALSE(Control("CheckBox3")->isChecked());
}

// Off screen, as on Wayland, there is no X11 desktop for the lockdown to act
// on: the boxes still store and call, and a note under them says so, whole.
// On X11 even without a window manager the program keeps the curtain and its
// windows in order itself, and holds the keyboard: no note.
TEST_F(OpcjeTest, WhereTheDesktopCantBeLockedANoteSaysSo) {
    Start();
    Open();
    Click("CheckBox3");
    EXPECT_TRUE(Stores("DesktopEnabled", 1));
    auto* note = Options().findChild<QLabel*>("LockdownNote");
    ASSERT_NE(note, nullptr);
    // The start page says so too, for whoever never opens the options.
    auto* startNote = program->MainWindow().findChild<QLabel*>("LockdownNote");
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return note->isHidden(); }));
        EXPECT_TRUE(startNote->isHidden());
        return;
    }
    EXPECT_TRUE(startNote->isVisible());
    EXPECT_TRUE(startNote->text().startsWith(
        QString::fromUtf8("Blokada pulpitu nie działa w pełni: na tym pulpicie")));
    EXPECT_TRUE(note->isVisible());
    EXPECT_FALSE(note->text().isEmpty());
    EXPECT_LE(note->heightForWidth(note->width()), note->height());
    EXPECT_GE(note->y(), Control("CheckBox4")->geometry().bottom());
    EXPECT_LE(note->geometry().right(), Options().findChild<QWidget*>("SpeedButton1")->x());
}

TEST_F(OpcjeTest, EnterAndEscCloseWithoutTouchingTheFocusedControl) {
    Start();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Enter}) {
        Open();
        Options().activateWindow();
        QAbstractButton* box = Control("CheckBox2");
        box->setFocus();
        QTest::keyClick(box, key);
        EXPECT_FALSE(Options().isVisible()) << key;
        EXPECT_FALSE(box->isChecked());
        EXPECT_TRUE(Window().isEnabled());
    }
    EXPECT_EQ(SettingsFile().find("\"Odp\""), std::string::npos);
    Open();
    Click("SpeedButton1");
    EXPECT_FALSE(Options().isVisible());
    EXPECT_TRUE(Window().isEnabled());
}

TEST_F(OpcjeTest, OdpMakesTheNextQuestionSkipTheFormChooser) {
    // Questions 2 and 4 offer a typed answer.
    const std::string test = dir.Write("formy.ts2", MakeTs2(ValidTestLines(4)));
    Start({QString::fromStdString(test)});
    auto shown = [&](const char* name) { return Find<QWidget>(name)->isVisible(); };
    auto answer = [&] {
        QTest::mouseClick(Find<QAbstractButton>("B"), Qt::LeftButton);
        QTest::mouseClick(Button("SpeedButton6"), Qt::LeftButton); // "O&K"
        ASSERT_TRUE(shown("ODPPanel"));
        QTest::mouseClick(Find<QAbstractButton>("Next"), Qt::LeftButton);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return Button("SpeedButton3")->isVisible(); }));
    QTest::keyClicks(Find<QLineEdit>("NameEdit"), "Ewa");
    QTest::mouseClick(Button("SpeedButton3"), Qt::LeftButton);
    ASSERT_TRUE(shown("Panel3"));
    answer();
    ASSERT_TRUE(shown("Panel7")); // question 2 asks for the form while the option is off
    QTest::mouseClick(Find<QAbstractButton>("RBTest"), Qt::LeftButton, Qt::NoModifier,
                      QPoint(6, 10));
    QTest::mouseClick(Button("SpeedButton7"), Qt::LeftButton); // "Da&lej"
    ASSERT_FALSE(shown("Panel7"));
    answer();

    // Checked in the middle of the exam: question 4 comes in the test form.
    Options().show();
    Click("CheckBox2");
    QTest::keyClick(Control("CheckBox2"), Qt::Key_Escape);
    ASSERT_TRUE(Window().isEnabled());
    answer();
    EXPECT_EQ(Window().Logic().state().questionNumber, 4);
    EXPECT_FALSE(shown("Panel7"));
    EXPECT_TRUE(Find<QWidget>("A")->isEnabled());
}

TEST_F(OpcjeTest, AFailedWriteIsShownAndTheClickStillTakesEffect) {
    Start();
    Open();
    // The settings folder's place taken by a file: nothing can be written.
    std::filesystem::remove_all(dir.path() / "config");
    dir.Write("config", "");
    QString text;
    const bool shown = WithModal([&] { Click("CheckBox3"); },
                                 [&](QWidget* box) {
                                     text = static_cast<QMessageBox*>(box)->text();
                                     static_cast<QMessageBox*>(box)->accept();
                                 });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("Nie można zapisać pliku ustawień")))
        << text.toStdString();
    EXPECT_TRUE(Control("CheckBox3")->isChecked());
    EXPECT_TRUE(Options().Get(TOption::DesktopEnabled));
    ASSERT_FALSE(ProcessLockdownRecorder().Calls().empty());
    EXPECT_EQ(ProcessLockdownRecorder().Calls().back().ToString(), "LockTaskSwitch(true)");
}
