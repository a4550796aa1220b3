// The main window under habits real pupils have: Alt pressed by mistake,
// double-clicks, the right button on a field, long double-barrelled names.

#include "AnswerLetters.h"
#include "ContextHelp.h"
#include "ExamWindowFixture.h"
#include "GuiHelpers.h"
#include "Opcje.h"
#include "ResultsLogFormat.h"
#include "TestFile.h"
#include "Widgets.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleHints>
#include <QTimer>

#include <fstream>
#include <map>
#include <sstream>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class RealHandsTest : public ExamWindowTest {
protected:
    void PressRight(QWidget* w, QPoint local) {
        QCursor::setPos(w->mapToGlobal(local));
        QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, local);
        QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, local);
    }
    // The second click of a double-click, at the place of the first: on
    // whatever the first click put there.
    void SecondClickAt(QPoint global) {
        QWidget* under = QApplication::widgetAt(global);
        ASSERT_NE(under, nullptr);
        QTest::mouseDClick(under, Qt::LeftButton, Qt::NoModifier, under->mapFromGlobal(global));
        QTest::qWait(10);
    }
    bool AnyAnswerChecked() {
        for (const char* letter : kAnswerCapitals)
            if (Find<QRadioButton>(letter)->isChecked())
                return true;
        return false;
    }
    // The whole text is drawn, line by line within the label. Returns the
    // number of lines.
    qsizetype ExpectWhole(const char* name) {
        auto* label = Find<TShadowLabel>(name);
        EXPECT_NE(label, nullptr) << name;
        if (!label)
            return 0;
        const QStringList lines = label->FittedLines();
        auto letters = [](QString s) { return s.remove(u' ').toStdString(); };
        EXPECT_EQ(letters(lines.join(QString())), letters(label->text())) << name;
        const QFontMetrics metrics(label->FittedFont());
        const QRect room = label->contentsRect();
        for (const QString& line : lines)
            EXPECT_LE(metrics.horizontalAdvance(line), room.width()) << name;
        EXPECT_LE(metrics.boundingRect(room, Qt::AlignCenter, lines.join(u'\n')).height(),
                  room.height())
            << name;
        return lines.size();
    }
};

} // namespace

TEST_F(RealHandsTest, AltLetterNeverTypesIntoAFieldButAltGrGivesPolishLetters) {
    StartOnSample();
    const struct {
        const char* field;
        Qt::KeyboardModifiers altGr;
    } fields[] = {{"NameEdit", Qt::ControlModifier | Qt::AltModifier},
                  {"SETime", Qt::GroupSwitchModifier},
                  {"NameEdit", Qt::GroupSwitchModifier}};
    for (const auto& f : fields) {
        SCOPED_TRACE(f.field);
        QWidget* field = Find<QWidget>(f.field);
        auto* edit = field->findChild<QLineEdit*>() ? field->findChild<QLineEdit*>()
                                                    : qobject_cast<QLineEdit*>(field);
        field->setFocus();
        edit->setText("12");
        edit->end(false);
        // Latin letters, and the Polish ones of a keyboard with keys of their
        // own, with the key codes the X server gives them, or none.
        const struct {
            int key;
            const char* text;
        } altKeys[] = {{Qt::Key_K, "k"}, {Qt::Key_E, "e"},      {Qt::Key_J, "j"},
                       {0x17B, "ż"},     {Qt::Key_Oacute, "ó"}, {0x141, "ł"},
                       {0x15A, "ś"},     {0x104, "ą"},          {Qt::Key_unknown, "ż"}};
        for (const auto& k : altKeys)
            QTest::sendKeyEvent(QTest::Click, field, static_cast<Qt::Key>(k.key),
                                QString::fromUtf8(k.text), Qt::AltModifier);
        EXPECT_EQ(edit->text().toStdString(), "12");
        if (qobject_cast<QLineEdit*>(field)) {
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_A, QStringLiteral("ą"), f.altGr);
            EXPECT_EQ(edit->text(), "12ą");
        }
    }
}

TEST_F(RealHandsTest, AltLetterLeavesATypedAnswerAsTyped) {
    GoToQuestion(1);
    Alt('s');
    Key(Qt::Key_Return);
    auto* answer = Find<QLineEdit>("SamEdit");
    ASSERT_TRUE(answer->isEnabled());
    for (const QChar c : QStringLiteral("Łódź"))
        QTest::sendKeyEvent(QTest::Click, answer, Qt::Key_unknown, QString(c), Qt::NoModifier);
    for (Qt::Key letter : {Qt::Key_A, Qt::Key_S})
        QTest::keyClick(answer, letter, Qt::AltModifier);
    EXPECT_EQ(answer->text(), "Łódź");
}

TEST_F(RealHandsTest, TwoAcceleratorsInQuickSuccessionActInTurn) {
    GoToQuestion(1);
    ASSERT_TRUE(Shown("Panel7"));
    Key(Qt::Key_S, Qt::AltModifier); // "&samodzielna"
    QTest::qWait(40);
    Key(Qt::Key_L, Qt::AltModifier); // "Da&lej", enabled by the first
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Shown("Panel7"); }, 1000));
    EXPECT_TRUE(Find<QLineEdit>("SamEdit")->isEnabled());
}

TEST_F(RealHandsTest, ADoubleClickActsOnlyOnTheControlItBeganOn) {
    // "O&K" of the verdict lies over the answer rows of the next question.
    GoToQuestion(3);
    Alt(kGeografiaAnswers[2]);
    Key(Qt::Key_Return);
    QWidget* ok = Find<QWidget>("SpeedButton8");
    ASSERT_TRUE(ok->isVisible());
    const QPoint place = ok->mapToGlobal(ok->rect().center());
    QTest::mouseClick(ok, Qt::LeftButton);
    SecondClickAt(place);
    EXPECT_EQ(Text("NrPyt"), "4");
    EXPECT_FALSE(AnyAnswerChecked());

    // "&Start" gives its place to "&Powrót ...".
    Button("SpeedButton14")->click();
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    QWidget* start = Button("SpeedButton3");
    ASSERT_TRUE(start->isVisible());
    const QPoint slot = start->mapToGlobal(start->rect().center());
    QTest::mouseClick(start, Qt::LeftButton);
    ASSERT_TRUE(Shown("Panel3"));
    SecondClickAt(slot);
    EXPECT_TRUE(Shown("Panel3"));
    EXPECT_TRUE(Find<QTimer>("Czas")->isActive());
}

TEST_F(RealHandsTest, HelpStaysInsideTheWindowInItsOwnTypeAndGoesWithItsPage) {
    GoToQuestion(3);
    auto* panel = Find<QWidget>("HP");
    auto everyHelpInside = [&] {
        for (std::string_view name : HelpControlNames()) {
            QWidget* w = Find<QWidget>(std::string(name).c_str());
            if (!w || !w->isVisible() || !w->isEnabled())
                continue;
            for (QPoint at : {QPoint(1, 1), QPoint(w->width() - 2, w->height() - 2)}) {
                PressRight(w, at);
                if (!panel->isVisible())
                    continue;
                EXPECT_TRUE(Window().rect().contains(panel->geometry()))
                    << name << " at " << at.x() << "," << at.y() << ": " << panel->x() << ","
                    << panel->y() << " " << panel->width() << "x" << panel->height() << " in "
                    << Window().width() << "x" << Window().height();
            }
        }
    };
    EXPECT_EQ(panel->font().family(), Find<QWidget>("Label13")->font().family());
    everyHelpInside();
    PressRight(Find<QWidget>("A"), QPoint(2, 2));
    ASSERT_TRUE(panel->isVisible());
    Alt('a');
    Key(Qt::Key_Return); // the verdict covers the answers: their help goes
    EXPECT_FALSE(panel->isVisible());

    Key(Qt::Key_Return);
    Alt('e');
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    Alt('a');
    Key(Qt::Key_Return);
    PressRight(Find<QWidget>("odpB"), QPoint(2, 2));
    ASSERT_TRUE(panel->isVisible());
    Key(Qt::Key_Return); // the last question: the summary
    ASSERT_TRUE(Shown("Panel4"));
    EXPECT_FALSE(panel->isVisible());
    everyHelpInside(); // "&Statystyki" among them
}

TEST_F(RealHandsTest, TheRightButtonOnAFieldGivesItsHelpAndNoEditMenu) {
    StartOnSample();
    for (const char* name : {"NameEdit", "SETime"}) {
        SCOPED_TRACE(name);
        QWidget* field = Find<QWidget>(name);
        QWidget* inner = field->findChild<QLineEdit*>() ? field->findChild<QLineEdit*>() : field;
        PressRight(field, QPoint(5, 5));
        EXPECT_TRUE(Find<QWidget>("HP")->isVisible());
        EXPECT_EQ(Text("H1"), QString::fromUtf8(HelpFor(name)->H1));
        for (QWidget* target : {field, inner}) {
            QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5),
                                   target->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(target, &menu);
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        }
    }
}

TEST_F(RealHandsTest, CtrlOverAnAnswerButtonMarksTheRightAnswer) {
    GoToQuestion(3);
    QWidget* button = Find<QWidget>("A");
    QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), button->mapToGlobal(QPointF(4, 4)),
                     Qt::NoButton, Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(button, &move);
    EXPECT_TRUE(Find<QRadioButton>("C")->isChecked());
}

TEST_F(RealHandsTest, ALongDoubleBarrelledNameShowsWholeOnTheVerdictAndTheSummary) {
    const char* name = "Małgorzata Aleksandra Konstancja Przybyszewska-Wójcikowa-Szczepańska";
    GoToQuestion(5, name);
    Alt(kGeografiaAnswers[4]);
    Key(Qt::Key_Return);
    ASSERT_EQ(Text("RxLabel2"), QString::fromUtf8("Gratuluję ") + QString::fromUtf8(name));
    ExpectWhole("RxLabel2");
    Key(Qt::Key_Return);
    ASSERT_TRUE(Shown("Panel4"));
    EXPECT_EQ(ExpectWhole("RxLabel5"), 2);
}

// While the desktop is locked, Super (the Windows key) with a letter types
// nothing into a field.
TEST_F(RealHandsTest, TheWindowsKeyTypesNothingWhileTheDesktopIsLocked) {
    Start();
    program->Options().findChild<QAbstractButton*>("CheckBox3")->click();
    auto* name = Find<QLineEdit>("NameEdit");
    name->setFocus();
    QTest::keyClick(name, Qt::Key_D, Qt::MetaModifier);
    QTest::keyClick(name, Qt::Key_A);
    EXPECT_EQ(name->text(), "a");
}

#ifndef _WIN32
// A time the lab's administrator fixed reads as plainly as any text, and the
// right button says why it can't change.
TEST_F(RealHandsTest, TheTimeTheLabFixedReadsPlainlyAndSaysWhy) {
    WriteLabSetup("\"ExamMinutes\"=dword:0000002d\n");
    StartOnSample();
    auto* time = Find<QSpinBox>("SETime");
    EXPECT_EQ(time->text(), "45");
    EXPECT_FALSE(time->isEnabled());
    EXPECT_EQ(time->palette().color(QPalette::Disabled, QPalette::Text),
              time->palette().color(QPalette::Active, QPalette::Text));
    PressRight(time, QPoint(4, 4));
    auto* panel = Find<QWidget>("HP");
    ASSERT_TRUE(panel->isVisible());
    QString said;
    for (QLabel* line : panel->findChildren<QLabel*>())
        said += line->text();
    EXPECT_TRUE(said.contains(QString::fromUtf8("ustalił administrator pracowni")))
        << said.toStdString();
}
#endif

#ifndef _WIN32
// In a strict exam the pupil can't walk away from a bad attempt unseen:
// "&Zamknij" and "&Powrót ..." ask, "Nie" goes on with the exam, and "Tak"
// ends it with the answers given, one line in the log.
TEST_F(RealHandsTest, AStrictExamIsNotLeftUnseen) {
    WriteLabSetup("\"StrictExam\"=dword:00000001\n");
    GoToQuestion(2);
    auto answer = [](QMessageBox::StandardButton button) {
        return [button](QWidget* modal) {
            EXPECT_EQ(modal->objectName(), "EndExamBox");
            qobject_cast<QMessageBox*>(modal)->button(button)->click();
        };
    };
    EXPECT_TRUE(WithModal([&] { QTest::mouseClick(Button("SpeedButton1"), Qt::LeftButton); },
                          answer(QMessageBox::No)));
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(Shown("Panel3") && !Shown("Panel4"));
    EXPECT_TRUE(WithModal([&] { QTest::mouseClick(Button("SpeedButton14"), Qt::LeftButton); },
                          answer(QMessageBox::Yes)));
    ASSERT_TRUE(Shown("Panel4") && ResultSaved());
    const auto lines = ParseLog(LogFile());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Zdobyto"), std::string::npos) << lines[0];
}
#endif

// The lab wants every pupil's own order: two exams on one computer show the
// questions and answers each in its own order, and a pupil who picks the
// right text every time gets every point, whatever its letter.
TEST_F(RealHandsTest, WhereTheLabWantsItEachExamHasItsOwnOrderAndIsGradedRight) {
    WriteLabSetup("\"ShuffleQuestions\"=dword:00000001\n\"ShuffleAnswers\"=dword:00000001\n");
    const TTestFile test =
        TTestFile::ReadFile((TEgzamin::TestFolder() + "/geografia.ts2").toStdString());
    StartOnSample();
    QStringList seen;
    for (int exam = 0; exam < 2; ++exam) {
        TypeName(QStringLiteral("Ala"));
        Key(Qt::Key_Return);
        QString order;
        for (int k = 1; k <= kGeografiaQuestions; ++k) {
            if (Shown("Panel7")) {
                Alt('t');
                Key(Qt::Key_Return);
            }
            const QString shown = Find<QLabel>("L1")->text();
            ASSERT_TRUE(shown.startsWith(QString::number(k) + ": ")) << shown.toStdString();
            for (int f = 1; f <= kGeografiaQuestions; ++f) {
                const TQuestion q = test.Question(f);
                if (!shown.contains(QString::fromStdString(q.text).left(12)))
                    continue;
                const QString right =
                    QString::fromStdString(q.answers[std::size_t(AnswerIndex(q.correctLetter))]);
                for (const char* letter : kAnswerCapitals)
                    if (Find<QLabel>(("odp" + std::string(letter)).c_str())->text() == right)
                        Alt(char(std::tolower(letter[0])));
            }
            order += shown + Find<QLabel>("odpA")->text();
            Key(Qt::Key_Return); // checks the pick
            Key(Qt::Key_Return); // confirms the verdict
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel4"); }) && ResultSaved());
        EXPECT_TRUE(LogFile().ends_with("Zdobyto 9pkt. (100%) a stracono 0pkt. Otrzymana ocena "
                                        "to: bardzo dobry.\r\n"));
        seen << order;
        Button("SpeedButton9")->click();
    }
    EXPECT_NE(seen[0], seen[1]);
}

// Four exams through the program, then the analysis of their answers as a
// teacher takes it from the command line: each question's facility and the
// choices of A–E as the pupils answered.
TEST_F(RealHandsTest, TheAnalysisOfRealExamsCountsTheirAnswers) {
    const std::string exams[] = {"bdcea", "aaaaa", "bdcea", "bbbbb"};
    StartOnSample();
    for (const std::string& letters : exams) {
        TypeName(QStringLiteral("Ala"));
        Key(Qt::Key_Return);
        for (char letter : letters) {
            if (Shown("Panel7")) {
                Alt('t');
                Key(Qt::Key_Return);
            }
            Alt(letter);
            Key(Qt::Key_Return); // checks the pick
            Key(Qt::Key_Return); // confirms the verdict
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel4"); }) && ResultSaved());
        Button("SpeedButton9")->click();
    }
    const QString csv = QString::fromStdString((dir.path() / "analiza.csv").string());
    const QString log = QString::fromStdString((dir.path() / "data/Kwizmar/MSStr32.dll").string());
    ASSERT_EQ(QProcess::execute(QCoreApplication::applicationDirPath() + "/kwizmar-wyniki",
                                {"pytania", log, "-o", csv}),
              0);
    std::ifstream in(csv.toStdString());
    std::map<int, std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::stringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ';');)
            cells.push_back(cell);
        if (cells.size() > 11 && cells[0] == "\"Geografia Polski\"")
            rows[std::stoi(cells[1])] = cells;
    }
    ASSERT_EQ(rows.size(), std::size_t(kGeografiaQuestions));
    for (int q = 1; q <= kGeografiaQuestions; ++q) {
        SCOPED_TRACE(q);
        const char key = kGeografiaAnswers[q - 1];
        int right = 0;
        for (const std::string& exam : exams)
            right += exam[std::size_t(q - 1)] == key;
        EXPECT_EQ(rows[q][3], "4");
        EXPECT_EQ(rows[q][4], std::string("\"") + char(std::toupper(key)) + "\"");
        EXPECT_EQ(rows[q][5], std::to_string(right * 25) + ",0");
        for (int letter = 0; letter < 5; ++letter) {
            int chose = 0;
            for (const std::string& exam : exams)
                chose += exam[std::size_t(q - 1)] == 'a' + letter;
            EXPECT_EQ(rows[q][std::size_t(7 + letter)], std::to_string(chose)) << letter;
        }
    }
}
