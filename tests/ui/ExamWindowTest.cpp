// The main window driven as a person drives it: keyboard, accelerators,
// mouse, timers.

#include "ContextHelp.h"
#include "ExamWindowFixture.h"
#include "GuiHelpers.h"
#include "LockdownRecorder.h"
#include "Odometer.h"
#include "Opcje.h"
#include "OtherComputersLock.h"
#include "PendingResults.h"
#include "ResultsLogFormat.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLCDNumber>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <sstream>

using namespace kwizmar;
using namespace kwizmar::testing;

TEST_F(ExamWindowTest, TrialRunKeepsItsResultAndNoJournalOutOfTheClassLog) {
    StartOnSample({"--proba"});
    TypeName("Nauczyciel");
    Key(Qt::Key_Return);
    EXPECT_TRUE(Find<QWidget>("Panel3")->findChild<QLabel*>("Proba")->isVisible());
    EXPECT_FALSE(std::filesystem::exists(UserDataFolder() / TExamJournalFile::kFileName));
    AnswerRightUpTo(kGeografiaQuestions);
    ASSERT_TRUE(Shown("Panel4") && ResultSaved());
    EXPECT_TRUE(Find<QWidget>("Panel4")->findChild<QLabel*>("Proba")->isVisible());
    EXPECT_EQ(LogFile(), "");
    std::ifstream trial(UserDataFolder() / "proby-edytora" / "MSStr32.dll");
    std::string line;
    EXPECT_TRUE(std::getline(trial, line) && line.starts_with("1. U") &&
                line.find("Nauczyciel") != std::string::npos)
        << line;
}

TEST_F(ExamWindowTest, ATrialsResultThatCantBeWrittenWaitsAmongTheTrials) {
    // A folder where the trial log belongs: the result can't be written.
    std::filesystem::create_directories(UserDataFolder() / "proby-edytora" / "MSStr32.dll");
    StartOnSample({"--proba"});
    TypeName("Nauczyciel");
    Key(Qt::Key_Return);
    AnswerRightUpTo(kGeografiaQuestions, false);
    ASSERT_TRUE(WithModal(
        [&] {
            Key(Qt::Key_Return);
            ResultSaved(); // the box comes with the log's answer
        },
        [](QWidget* box) { static_cast<QMessageBox*>(box)->accept(); }));
    EXPECT_TRUE(
        std::filesystem::exists(UserDataFolder() / "proby-edytora" / TPendingResults::kFileName));
    EXPECT_FALSE(std::filesystem::exists(UserDataFolder() / TPendingResults::kFileName));
}

TEST_F(ExamWindowTest, WholeExamWithTheKeyboardOnly) {
    StartOnSample();
    TypeName("Jan Kowalski");
    Key(Qt::Key_Return);
    ASSERT_TRUE(Shown("Panel3"));
    EXPECT_FALSE(Shown("Panel6"));
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k + 1);
        if (Shown("Panel7")) { // the form chooser: take the test form
            EXPECT_EQ(FocusName(), "RBSam");
            Alt('t');
            Key(Qt::Key_Return);
        }
        // The focus is always on a control in sight: the question's first answer.
        EXPECT_EQ(FocusName(), "A");
        ASSERT_TRUE(Find<QWidget>("A")->isEnabled());
        Alt(kGeografiaAnswers[k]);
        EXPECT_TRUE(Find<QRadioButton>(std::string(1, char(kGeografiaAnswers[k] - 32)).c_str())
                        ->isChecked());
        Key(Qt::Key_Return); // confirm the pick
        ASSERT_TRUE(Shown("ODPPanel"));
        EXPECT_EQ(Text("RxLabel2"), "Gratuluję Jan Kowalski");
        EXPECT_EQ(FocusName(), "SpeedButton8"); // the verdict's OK, for Next behind it
        Key(Qt::Key_Return);                    // on to the next question
    }
    ASSERT_TRUE(Shown("Panel4") && ResultSaved());
    EXPECT_EQ(FocusName(), "SpeedButton9");
    EXPECT_EQ(Text("RxLabel5"), "Jan Kowalski gratuluję przejścia egzaminu");
    EXPECT_EQ(Text("RxLabel8"), "Zdobyłeś 100% całości punktów.");
    EXPECT_EQ(Text("RxLabel10"), "bardzo dobry");
    EXPECT_TRUE(Button("SpeedButton9")->isVisible());
    EXPECT_FALSE(Find<QTimer>("Czas")->isActive());

    const QString line = QString::fromStdString(Cp1250ToUtf8(LogFile()));
    const QRegularExpression expected(
        "^1\\. Użytkownik Jan Kowalski przystąpił do egzaminu \"Geografia Polski\" o godzinie "
        "\\d\\d:\\d\\d:\\d\\d dnia \\d{1,2}\\.\\d\\d\\.\\d{4}\\. Przewidywany czas egzaminu "
        "10min\\. "
        "Liczba pytań 5\\. Maksymalna liczba punktów 9\\. Egzamin trwał -?\\d+ minut i \\d+ "
        "sekund\\. Zdobyto 9pkt\\. \\(100%\\) a stracono 0pkt\\. Otrzymana ocena to: bardzo "
        "dobry\\.\r\n$");
    EXPECT_TRUE(expected.match(line).hasMatch()) << line.toStdString();
}

TEST_F(ExamWindowTest, WrongTypedAnswerFallsBackToTheTestFormByEnter) {
    StartOnSample();
    TypeName("Ola");
    Key(Qt::Key_Return);
    ASSERT_TRUE(Shown("Panel7"));
    Alt('s'); // "&samodzielna"; "&Start" is hidden during the exam
    EXPECT_TRUE(Find<QRadioButton>("RBSam")->isChecked());
    Key(Qt::Key_Return); // "Da&lej"
    ASSERT_TRUE(Shown("SamEdit"));
    EXPECT_FALSE(Shown("Panel7"));
    EXPECT_EQ(FocusName(), "SamEdit");
    // Polish letters typed one by one, as a keyboard sends them.
    for (const QChar ch : QStringLiteral("Łysica"))
        QTest::sendKeyEvent(QTest::Click, Find<QWidget>("SamEdit"), Qt::Key_unknown, QString(ch),
                            Qt::NoModifier);
    Key(Qt::Key_Return);
    ASSERT_TRUE(Shown("ODPPanel"));
    EXPECT_EQ(Text("RxLabel1"), "Niestety Ola");
    EXPECT_EQ(Text("RxLabel3"), "Sprój testowo");
    EXPECT_TRUE(Shown("SpeedButton13"));
    EXPECT_EQ(FocusName(), "SpeedButton13"); // the verdict's OK, for Dalej behind it
    Key(Qt::Key_Return);
    // The same question again, in the test form.
    EXPECT_FALSE(Shown("ODPPanel"));
    EXPECT_FALSE(Shown("SAMPanel"));
    EXPECT_TRUE(Find<QWidget>("B")->isEnabled());
    EXPECT_EQ(Text("NrPyt"), "1");
    Alt('b');
    Key(Qt::Key_Return);
    EXPECT_EQ(Text("RxLabel2"), "Gratuluję Ola");
}

TEST_F(ExamWindowTest, ClockRunningOutFinishesTheExam) {
    StartOnSample();
    TypeName("Ela");
    QWidget* time = Find<QWidget>("SETime");
    ASSERT_NE(time, nullptr);
    time->setFocus();
    QTest::keyClick(time, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(time, Qt::Key_3); // below the minimum: 5 once the entry ends
    EXPECT_EQ(time->findChild<QLineEdit*>()->text(), "3");
    Key(Qt::Key_Return);
    EXPECT_EQ(time->findChild<QLineEdit*>()->text(), "5");
    ASSERT_TRUE(Shown("Panel3"));
    EXPECT_EQ(Find<QLCDNumber>("minuty")->intValue(), 5);
    // Three hundred seconds, quickly.
    Find<QTimer>("Czas")->setInterval(0);
    ASSERT_TRUE(RunClockUntilSummary());
    EXPECT_EQ(Find<QLCDNumber>("minuty")->intValue(), 0);
    EXPECT_EQ(Find<QLCDNumber>("sekundy")->intValue(), 0);
    EXPECT_FALSE(Find<QTimer>("Czas")->isActive());
    EXPECT_EQ(Text("RxLabel6"), "Egzamin trwał 4 minut i 60 sekund");
    EXPECT_EQ(Text("RxLabel7"), "Do zdobycia było 9, z czego zdobyto 0 a stracono 0");
    EXPECT_EQ(Text("RxLabel10"), "niedostateczny");
    EXPECT_NE(LogFile().find("Egzamin trwa\xB3 4 minut i 60 sekund"), std::string::npos);
}

TEST_F(ExamWindowTest, AltSStartsOnTheStartPageAndOpensStatisticsAfterwards) {
    StartOnSample();
    TypeName("Ala");
    Alt('s');
    ASSERT_TRUE(Shown("Panel3"));
    // Abandon with "&Powrót ..." and start again, then finish by the clock.
    Alt('p');
    ASSERT_TRUE(Shown("Panel6"));
    EXPECT_TRUE(Button("SpeedButton3")->isVisible());
    Alt('s');
    ASSERT_TRUE(Shown("Panel3"));
    Find<QTimer>("Czas")->setInterval(0);
    ASSERT_TRUE(RunClockUntilSummary());
    EXPECT_EQ(LogFile().substr(0, 3), "1. "); // the abandoned exam wrote nothing
    // "Oceny" shows the grade scale exactly while a mouse button is held on it.
    QWidget* grades = Button("SpeedButton11");
    QTest::mousePress(grades, Qt::RightButton);
    EXPECT_TRUE(Shown("Panel8"));
    EXPECT_FALSE(Shown("HP"));
    QTest::mouseRelease(grades, Qt::RightButton);
    EXPECT_FALSE(Shown("Panel8"));
    Alt('s');
    QWidget* statistics = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "TStatystyka")
            statistics = w;
    ASSERT_NE(statistics, nullptr);
    EXPECT_TRUE(statistics->isVisible());
    EXPECT_FALSE(Window().isEnabled());
    statistics->close();
    EXPECT_TRUE(Window().isEnabled());
    // "&Egzaminuj ..." goes back to the start page with the test still there.
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    Alt('e');
    EXPECT_TRUE(Shown("Panel6"));
    EXPECT_EQ(Text("TSName"), "\"Geografia Polski\"");
    EXPECT_EQ(Find<QLineEdit>("NameEdit")->text(), "Ala");
}

TEST_F(ExamWindowTest, StoredLockdownAppliesAtStartAndClosingLiftsIt) {
    WriteSettingsFile("Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar]\r\n"
                      "\"DesktopEnabled\"=dword:00000001\r\n"
                      "\"TaskBarEnabled\"=dword:00000001\r\n");
    Start();
    EXPECT_EQ(program->Splash(), nullptr); // gone once the main window showed
    auto calls = [] {
        std::vector<std::string> names;
        for (const TLockdownCall& call : ProcessLockdownRecorder().Calls())
            names.push_back(call.operation + (call.argument ? "(true)" : "(false)"));
        return names;
    };
    const std::vector<std::string> atStart = {"ShowDesktopIcons(false)", "EnableDesktopView(false)",
                                              "LockTaskSwitch(true)",    "ShowTaskbar(false)",
                                              "EnableTaskbar(false)",    "EnableStartButton(false)",
                                              "LockTaskSwitch(true)"};
    EXPECT_EQ(calls(), atStart);
    Window().close();
    std::vector<std::string> all = atStart;
    for (const char* lift :
         {"ShowDesktopIcons(true)", "EnableDesktopView(true)", "LockTaskSwitch(false)",
          "ShowTaskbar(true)", "EnableTaskbar(true)", "EnableStartButton(true)"})
        all.push_back(lift);
    EXPECT_EQ(calls(), all);
    // The stored options stay for the next start; the run counter counted this one.
    EXPECT_NE(SettingsFile().find("\"DesktopEnabled\"=dword:00000001"), std::string::npos);
    EXPECT_NE(SettingsFile().find("\"Run\"=\"1\""), std::string::npos);
}

TEST_F(ExamWindowTest, DamagedSettingsFileIsToldOnceAndTheExamStillStarts) {
    WriteSettingsFile("Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar]\r\n"
                      "\"Run\"=\"41\"\r\n"
                      "this is no value\r\n");
    // Every message box, from the start to the exam, is noted and closed.
    QStringList boxes;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible()) {
            boxes << box->windowTitle() + "|" + box->text();
            box->accept();
        }
    });
    watch.start();
    Start({TEgzamin::TestFolder() + "/geografia.ts2"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Button("SpeedButton3")->isVisible(); }));
    EXPECT_EQ(Find<TOdometer>("Odometer1")->Value(), 42); // the bad line cost only itself
    TypeName("Ala");
    QTest::mouseClick(Button("SpeedButton3"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel3"); }));
    watch.stop();

    const std::filesystem::path folder = dir.path() / "config" / "Nerbaly";
    QStringList copies;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with("Kwizmar.reg.uszkodzony-"))
            copies << QString::fromStdString(entry.path().string());
    ASSERT_EQ(copies.size(), 1);
    ASSERT_EQ(boxes.size(), 1) << boxes.join("\n").toStdString();
    const QString file = QString::fromStdString((folder / "Kwizmar.reg").string());
    EXPECT_TRUE(boxes[0].startsWith("Kwizmar 2002|Plik ustawień " + file + " "))
        << boxes[0].toStdString();
    EXPECT_TRUE(boxes[0].contains(" " + copies[0] + ". ")) << boxes[0].toStdString();
    EXPECT_NE(SettingsFile().find("\"UserName\"=\"Ala\""), std::string::npos);
}

TEST_F(ExamWindowTest, AStartUpErrorBoxIsNeverUnderTheSplash) {
    StoreStringSetting("Run", "dwa"); // a number's place
    // The splash stays on top of every window: each box notes whether it is up.
    QStringList boxes;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        const QWidgetList windows = QApplication::topLevelWidgets();
        const bool splash = std::any_of(windows.begin(), windows.end(), [](QWidget* w) {
            return w->objectName() == "Splash" && w->isVisible();
        });
        boxes << box->text() + (splash ? " | under the splash" : "");
        box->accept();
    });
    watch.start();
    Start();
    watch.stop();
    EXPECT_EQ(boxes.join("\n").toStdString(), "'dwa' is not a valid integer value");
}

TEST_F(ExamWindowTest, RightButtonHelpNextToThePointerAndInsideTheWindow) {
    StartOnSample();
    auto* panel = Find<QWidget>("HP");
    auto pressRight = [&](QWidget* w, QPoint local) {
        QCursor::setPos(w->mapToGlobal(local));
        QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, local);
        QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, local);
    };
    const QRect outer = Window().frameGeometry();

    QWidget* start = Button("SpeedButton3");
    pressRight(start, QPoint(10, 10));
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(Text("H1"), "Kliknięcie w ten przycisk spowoduje rozpoczęcie");
    EXPECT_EQ(Text("H2"), "egzaminowania z wybranego przez ciebie testu [ENTER] lub [Alt + S]");
    EXPECT_FALSE(Find<QWidget>("H3")->isVisible());
    const QPoint global = start->mapToGlobal(QPoint(10, 10));
    EXPECT_EQ(panel->pos(), QPoint(global.x() - outer.x(), global.y() - outer.y()));
    const int twoLineHeight = panel->height();

    // A three-line entry near the right edge: pulled 8 px inside the outer width.
    QWidget* chooser = Button("SpeedButton2");
    pressRight(chooser, QPoint(chooser->width() - 2, 5));
    EXPECT_EQ(Text("H1"), "Jeżeli jeszcze nie wybrałeś pliku z testem,to zrób to klikając w ten "
                          "przycisk.");
    EXPECT_TRUE(Find<QWidget>("H3")->isVisible());
    EXPECT_EQ(panel->height(), twoLineHeight + 14);
    EXPECT_EQ(panel->x(), outer.width() - panel->width() - 8);

    // Near the bottom: 36 px above the outer height.
    QWidget* close = Button("SpeedButton1");
    pressRight(close, QPoint(5, close->height() - 2));
    EXPECT_EQ(Text("H1"), "Jeżeli znudziła Ci się już zabawa z programem");
    EXPECT_EQ(panel->y(), outer.height() - panel->height() - 36);

    // The pointer passing over the panel hides it.
    QTest::mouseMove(panel, QPoint(3, 3));
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), panel->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &move);
    EXPECT_FALSE(panel->isVisible());

    // Controls without help give none; "Oceny" isn't on screen before an exam.
    pressRight(Find<QWidget>("TSName"), QPoint(2, 2));
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(ExamWindowTest, LeftPressOnAnAnswerTextFocusesItsButtonAndMarksIt) {
    StartOnSample();
    TypeName("Ewa");
    Key(Qt::Key_Return);
    Alt('t');
    Key(Qt::Key_Return);
    QWidget* text = Find<QWidget>("odpC");
    QTest::mouseClick(text, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(FocusName(), "C");
    EXPECT_TRUE(Find<QRadioButton>("C")->isChecked());
    EXPECT_TRUE(Button("SpeedButton6")->isEnabled());
    Key(Qt::Key_Return);
    EXPECT_EQ(Text("RxLabel1"), "Niestety Ewa");
    EXPECT_EQ(Text("StraconoPkt"), "2");

    // On the next question, Ctrl held while the pointer crosses an answer text
    // marks the right answer; without Ctrl nothing happens.
    Key(Qt::Key_Return);
    Alt('t');
    Key(Qt::Key_Return);
    auto move = [&](Qt::KeyboardModifiers modifiers) {
        QWidget* answer = Find<QWidget>("odpA");
        QMouseEvent event(QEvent::MouseMove, QPointF(4, 4), answer->mapToGlobal(QPointF(4, 4)),
                          Qt::NoButton, Qt::NoButton, modifiers);
        QApplication::sendEvent(answer, &event);
    };
    move(Qt::NoModifier);
    EXPECT_FALSE(Find<QRadioButton>("D")->isChecked());
    move(Qt::ControlModifier);
    EXPECT_TRUE(Find<QRadioButton>("D")->isChecked());
    EXPECT_EQ(FocusName(), "D");
}

TEST_F(ExamWindowTest, EveryControlWithHelpIsInTheWindowWithItsHint) {
    Start();
    for (std::string_view name : HelpControlNames()) {
        QWidget* w = Find<QWidget>(std::string(name).c_str());
        EXPECT_NE(w, nullptr) << name;
    }
    // A few hints, as the examinee reads them.
    EXPECT_EQ(Button("SpeedButton14")->toolTip(), "Powróć do wyboru testu");
    EXPECT_EQ(Find<QWidget>("SETime")->toolTip(), "Nastaw czas egzainu");
    EXPECT_EQ(Find<QWidget>("SpeedButton13")->toolTip(), "Przejdź do następnrgo pytania");
    EXPECT_EQ(Find<QWidget>("PytBar")->toolTip(),
              "Pasek postępu pokazujący ile procęt pytań przeszedłeś");
}

TEST_F(ExamWindowTest, TitleScrollsAgainWhenTheOptionIsTickedAgain) {
    Start(); // a first start switches scrolling on
    const QString plain = "Nerbaly Kwizmar 2002";
    EXPECT_TRUE(QTest::qWaitFor([&] { return Window().windowTitle() != plain; }, 2000));
    auto* scroll = program->Options().findChild<QAbstractButton*>("CheckBox108");
    ASSERT_NE(scroll, nullptr);
    scroll->click(); // off: the plain title stays
    EXPECT_EQ(Window().windowTitle(), plain);
    QTest::qWait(450);
    EXPECT_EQ(Window().windowTitle(), plain);
    scroll->click(); // on again
    EXPECT_TRUE(QTest::qWaitFor([&] { return Window().windowTitle() != plain; }, 2000));
}

// Another computer holds the lab's log: the summary shows at once and says the
// result is being saved, the window answers meanwhile, and the statistics
// wait for the line, which goes in once the lock goes.
TEST_F(ExamWindowTest, TheSummaryShowsAtOnceWhileAnotherComputerHoldsTheLog) {
    const auto log = dir.path() / "data" / "Kwizmar" / "MSStr32.dll";
    std::filesystem::create_directories(log.parent_path());
    TOtherComputersLock other(log);
    StartOnSample();
    TypeName("Ala");
    Key(Qt::Key_Return);
    AnswerRightUpTo(kGeografiaQuestions, false);
    Key(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel4"); }, 2000));
    EXPECT_TRUE(Shown("LabelZapis"));
    EXPECT_EQ(Text("LabelZapis"), QString::fromUtf8("Zapisywanie wyniku…"));
    EXPECT_FALSE(Button("SpeedButton10")->isEnabled());
    QTest::qWait(800); // the window repaints and takes the grade scale's button
    QTest::mousePress(Button("SpeedButton11"), Qt::LeftButton);
    EXPECT_TRUE(Shown("Panel8"));
    QTest::mouseRelease(Button("SpeedButton11"), Qt::LeftButton);
    EXPECT_FALSE(std::filesystem::exists(log));

    other.Release();
    ASSERT_TRUE(ResultSaved());
    EXPECT_FALSE(Shown("LabelZapis"));
    EXPECT_TRUE(Button("SpeedButton10")->isEnabled());
    EXPECT_TRUE(LogFile().starts_with("1. U"));
}

TEST_F(ExamWindowTest, AResultTheLogCannotTakeWaitsAndGoesInWithTheNextExam) {
    const auto log = dir.path() / "data" / "Kwizmar" / "MSStr32.dll";
    std::filesystem::create_directories(log); // a folder where the log belongs
    StartOnSample();
    TypeName("Ala");
    Key(Qt::Key_Return);
    AnswerRightUpTo(kGeografiaQuestions, false);
    QString boxText;
    ASSERT_TRUE(WithModal(
        [&] {
            Key(Qt::Key_Return);
            ResultSaved(); // the box comes with the log's answer
        },
        [&](QWidget* modal) {
            boxText = qobject_cast<QMessageBox*>(modal)->text();
            modal->close();
        }));
    const std::string waiting = (UserDataFolder() / "wyniki-oczekujace.txt").string();
    EXPECT_EQ(boxText, QString::fromStdString(
                           "Nie można zapisać wyniku w pliku wyników " + log.string() +
                           ".\n\nWynik egzaminu nie przepadł: jest zachowany na tym komputerze w "
                           "pliku " +
                           waiting +
                           " i zostanie dopisany do pliku wyników sam, gdy tylko będzie to "
                           "możliwe."));
    ASSERT_TRUE(Shown("Panel4")); // the summary all the same

    std::filesystem::remove(log);
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    Alt('e'); // "&Egzaminuj ..."
    ASSERT_TRUE(Shown("Panel6"));
    Find<QLineEdit>("NameEdit")->clear();
    TypeName("Ola");
    Key(Qt::Key_Return);
    AnswerRightUpTo(kGeografiaQuestions, false);
    Key(Qt::Key_Return);
    ASSERT_TRUE(Shown("Panel4") && ResultSaved());
    const auto lines = ParseLog(LogFile());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("1. Użytkownik Ala przystąpił")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("2. Użytkownik Ola przystąpił")) << lines[1];
    EXPECT_FALSE(std::filesystem::exists(waiting));
}

TEST_F(ExamWindowTest, TypedTimeKeepsItsDigitsUntilTheEntryEnds) {
    StartOnSample();
    auto* time = Find<QSpinBox>("SETime");
    auto* edit = time->findChild<QLineEdit*>();
    const struct {
        const char* typed;
        Qt::Key end;
        const char* ended;
    } cases[] = {
        {"30", Qt::Key_Tab, "30"}, {"25", Qt::Key_Tab, "25"}, {"3", Qt::Key_Tab, "5"},
        {"75", Qt::Key_Tab, "60"}, {"3", Qt::Key_Up, "7"},    {"5", Qt::Key_Up, "7"},
        {"59", Qt::Key_Up, "60"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        time->setFocus();
        QTest::keyClick(time, Qt::Key_A, Qt::ControlModifier);
        for (const char* digit = c.typed; *digit; ++digit)
            QTest::keyClick(time, *digit);
        EXPECT_EQ(edit->text(), c.typed);
        QTest::keyClick(time, c.end);
        EXPECT_EQ(edit->text(), c.ended);
    }
    time->setFocus();
    QTest::keyClick(time, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(time, "45");
    TypeName("Ela");
    Button("SpeedButton3")->click();
    EXPECT_EQ(Window().Logic().state().minutesAllowed, 45);
}

// A pupil sets the name and the time by mouse, in either order, as often as
// they like: each click puts the cursor where it was made, Tab and Shift+Tab
// go between the two fields, also after going back from an exam.
TEST_F(ExamWindowTest, NameAndTimeFieldsTakeTheFocusByMouseInEitherOrder) {
    StartOnSample();
    auto* name = Find<QLineEdit>("NameEdit");
    QLineEdit* time = Find<QSpinBox>("SETime")->findChild<QLineEdit*>();
    // The time field's editor hands its focus to the spin box.
    const auto owner = [](QWidget* field) {
        return field->focusProxy() ? field->focusProxy() : field;
    };
    const auto clickAndType = [&](QLineEdit* field, const char* text) {
        QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, field->rect().center());
        QTest::qWait(5);
        ASSERT_EQ(QApplication::focusWidget(), owner(field)) << text;
        Key(Qt::Key_End);
        while (!field->text().isEmpty())
            Key(Qt::Key_Backspace);
        QTest::keyClicks(QApplication::focusWidget(), text);
        // A time entry ends when the focus leaves its field.
        Key(Qt::Key_Tab);
        Key(Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), owner(field)) << text;
    };
    const struct {
        bool timeFirst;
        const char* name;
        const char* minutes;
    } rounds[] = {{true, "Ola", "20"}, {false, "Jan", "35"}};
    for (const auto& round : rounds) {
        SCOPED_TRACE(round.name);
        if (round.timeFirst) {
            clickAndType(time, round.minutes);
            clickAndType(name, round.name);
        } else {
            clickAndType(name, round.name);
            clickAndType(time, round.minutes);
        }
        // A field left empty would stop the test in a message box.
        ASSERT_EQ(name->text(), round.name);
        ASSERT_EQ(time->text(), round.minutes);
        Key(Qt::Key_Return);
        ASSERT_TRUE(Shown("Panel3"));
        EXPECT_EQ(Window().Logic().state().userName, round.name);
        EXPECT_EQ(Window().Logic().state().minutesAllowed, std::stoi(round.minutes));
        if (&round == &rounds[0]) {
            Button("SpeedButton14")->click();
            ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel6"); }));
        }
    }
    AnswerRightUpTo(kGeografiaQuestions, false);
    Key(Qt::Key_Return);
    const QString line = QString::fromStdString(Cp1250ToUtf8(LogFile()));
    EXPECT_TRUE(line.contains("Użytkownik Jan przystąpił")) << line.toStdString();
    EXPECT_TRUE(line.contains("Przewidywany czas egzaminu 35min.")) << line.toStdString();
}
