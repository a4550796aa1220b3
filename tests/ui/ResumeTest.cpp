// The real program killed with SIGKILL in the middle of an exam and started
// again: the exam goes on or ends, and the log gets exactly one line for it.
#include "ExamWindowFixture.h"

#include "ExamJournal.h"
#include "GuiHelpers.h"
#include "LockedFile.h"
#include "ResultsLog.h"

#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class ResumeTest : public ExamWindowTest {
protected:
    std::filesystem::path JournalFile() const {
        return UserDataFolder() / TExamJournalFile::kFileName;
    }
    std::filesystem::path LogPath() const {
        return dir.path() / "data" / "Kwizmar" / "MSStr32.dll";
    }

    // The program with a scripted pupil (see ExamPupil.cpp), on this test's folders.
    void StartPupil(const QStringList& steps) {
        done_ = QString::fromStdString((dir.path() / "pupil-done").string());
        pupil_.setProgram(QCoreApplication::applicationDirPath() + "/exam_pupil");
        pupil_.setArguments(QStringList{TEgzamin::TestFolder() + "/geografia.ts2", done_} + steps);
        pupil_.setProcessChannelMode(QProcess::ForwardedChannels);
        pupil_.start();
        ASSERT_TRUE(pupil_.waitForStarted());
    }
    bool PupilDone() {
        return QTest::qWaitFor([&] { return std::filesystem::exists(done_.toStdString()); }, 20000);
    }
    void KillPupil() {
        ::kill(pid_t(pupil_.processId()), SIGKILL);
        pupil_.waitForFinished();
    }
    TExamJournal Journal() {
        std::ifstream in(JournalFile(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::optional<TExamJournal> journal = ParseJournal(text.str());
        return journal ? *journal : TExamJournal{};
    }
    // The computer stays off for `seconds`: the exam started that much earlier.
    void StayOff(int seconds) {
        TExamJournal journal = Journal();
        journal.startedAt -= seconds;
        journal.deadline -= seconds;
        std::ofstream(JournalFile(), std::ios::binary) << FormatJournal(journal);
    }
    // Starts the program again; returns the text of the box it asks with,
    // pressing Enter on it, or the button `answer`.
    QString Restart(const char* answer = nullptr) {
        QString asked;
        WithModal([&] { Start(); },
                  [&](QWidget* box) {
                      asked = qobject_cast<QMessageBox*>(box)->text();
                      if (answer)
                          box->findChild<QAbstractButton*>(answer)->click();
                      else
                          QTest::keyClick(box, Qt::Key_Return);
                  },
                  20000);
        return asked;
    }
    void Click(const char* name) {
        auto* button = Find<QAbstractButton>(name);
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->isVisible() && button->isEnabled(); }))
            << name;
        button->click();
    }
    void Answer(const char* letter) {
        Click(letter);
        Click("SpeedButton6");
        Click("SpeedButton8");
    }
    std::vector<std::string> LogLines() { return ParseLog(LogFile()); }
    // "Egzamin trwał M minut i S sekund" in seconds.
    static int Duration(const std::string& line) {
        const QRegularExpressionMatch m =
            QRegularExpression(QString::fromUtf8("Egzamin trwał (\\d+) minut i (\\d+) sekund"))
                .match(QString::fromStdString(line));
        return m.hasMatch() ? m.captured(1).toInt() * 60 + m.captured(2).toInt() : -1;
    }

    QProcess pupil_;
    QString done_;
};

} // namespace

TEST_F(ResumeTest, KilledDuringAVerdictTheExamGoesOnAndCountsEveryAnswer) {
    StartPupil({"t", "b", "n", "t", "a"}); // question 1 right, question 2 wrong, its verdict up
    ASSERT_TRUE(PupilDone());
    KillPupil();
    StayOff(120);

    const QString asked = Restart();
    EXPECT_TRUE(asked.contains(QString::fromUtf8("Użytkownik: Uczeń")));
    EXPECT_TRUE(asked.contains(QString::fromUtf8("Test: \"Geografia Polski\"")));
    EXPECT_TRUE(asked.contains(QString::fromUtf8("Pytanie: 2 z 5, sprawdzone odpowiedzi: 2")));
    // Ten minutes less the two off and the moment the pupil took.
    EXPECT_TRUE(asked.contains(
        QRegularExpression(QString::fromUtf8("Pozostały czas: (8 min 0|7 min [45]\\d) s"))))
        << asked.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("ODPPanel"); }));
    EXPECT_EQ(Text("ZdobytoPkt"), "2");
    EXPECT_EQ(Text("StraconoPkt"), "1");
    Click("SpeedButton8");
    Answer("C");
    Answer("E");
    Answer("A");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel4"); }) && ResultSaved());

    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("1. Użytkownik Uczeń przystąpił do egzaminu"));
    EXPECT_TRUE(
        lines[0].ends_with(". Zdobyto 8pkt. (88%) a stracono 1pkt. Otrzymana ocena to: dobry."))
        << lines[0];
    EXPECT_GE(Duration(lines[0]), 120);
    EXPECT_LT(Duration(lines[0]), 180);
    EXPECT_FALSE(std::filesystem::exists(JournalFile()));
}

TEST_F(ResumeTest, KilledWhileTypingAndStartedAfterTheDeadlineTheExamEndsAtOnce) {
    StartPupil({"t", "b", "n", "s", "w:Wis"});
    ASSERT_TRUE(PupilDone());
    KillPupil();
    StayOff(11 * 60);

    EXPECT_TRUE(Restart().contains(QString::fromUtf8("Czas egzaminu minął")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel4"); }) && ResultSaved());
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].ends_with(". Egzamin trwał 9 minut i 60 sekund. Zdobyto 2pkt. (22%) a "
                                   "stracono 0pkt. Otrzymana ocena to: niedostateczny."))
        << lines[0];
    EXPECT_FALSE(std::filesystem::exists(JournalFile()));
}

TEST_F(ResumeTest, KilledAfterAnAnswerTheExamCanBeEndedWithWhatWasAnswered) {
    StartPupil({"t", "b", "n"}); // question 1 right, question 2 on screen
    ASSERT_TRUE(PupilDone());
    KillPupil();
    StayOff(30);

    EXPECT_TRUE(Restart("Zakoncz").contains(QString::fromUtf8("Pytanie: 2 z 5")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel4"); }) && ResultSaved());
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].ends_with(". Zdobyto 2pkt. (22%) a stracono 0pkt. Otrzymana ocena to: "
                                   "niedostateczny."))
        << lines[0];
    EXPECT_GE(Duration(lines[0]), 30);
    EXPECT_LT(Duration(lines[0]), 90);
    EXPECT_FALSE(std::filesystem::exists(JournalFile()));
}

TEST_F(ResumeTest, APowerCutBetweenTheResultAndTheJournalLeavesExactlyOneLine) {
    for (const bool lineWritten : {false, true}) {
        SCOPED_TRACE(lineWritten);
        std::filesystem::remove(LogPath());
        std::filesystem::remove(LogPath().parent_path() / kAnswerRecordsFileName);
        std::filesystem::create_directories(LogPath().parent_path());
        {
            // The log held by another copy: the finish waits at its append,
            // its result already in the journal, and dies there.
            TLockedFile held(LogPath(), TLockedFile::TAccess::Create);
            StartPupil({"t", "b", "n", "t", "d", "n", "c", "n", "e", "n", "a", "n"});
            ASSERT_TRUE(QTest::qWaitFor([&] { return Journal().phase == TJournalPhase::Finishing; },
                                        20000));
            KillPupil();
        }
        const std::string result = Journal().resultText;
        if (lineWritten) {
            TResultsLog log;
            log.AppendResultLine(result);
        }
        EXPECT_TRUE(Restart().isEmpty()); // nothing to ask: the exam had ended
        // The line goes on the delivery's thread, with its record after it.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !LogFile(kAnswerRecordsFileName).empty(); }, 20000));
        const std::string records = LogFile(kAnswerRecordsFileName);
        EXPECT_EQ(records.find("\r\n"), records.size() - 2); // one record, of line 1
        EXPECT_EQ(ParseAnswerRecord(records.substr(0, records.find('\r'))).value().line, 1);
        const std::vector<std::string> lines = LogLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], "1. " + result);
        EXPECT_TRUE(result.ends_with("Zdobyto 9pkt. (100%) a stracono 0pkt. Otrzymana ocena to: "
                                     "bardzo dobry."));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !std::filesystem::exists(JournalFile()); }));
        program.reset();
        std::filesystem::remove(done_.toStdString());
    }
}

TEST_F(ResumeTest, ASecondCopyLeavesTheRunningExamAlone) {
    StartPupil({"t", "b"});
    ASSERT_TRUE(PupilDone());
    const TExamJournal running = Journal();
    ASSERT_EQ(running.outcomes.size(), 1u);

    EXPECT_TRUE(Restart().isEmpty());
    program->MainWindow().close();
    program.reset();
    EXPECT_EQ(Journal(), running);
    KillPupil();
}

TEST_F(ResumeTest, AnExamLeftOrClosedIsNotPickedUpAgain) {
    StartOnSample();
    TypeName("Uczeń");
    Click("SpeedButton3");
    ASSERT_TRUE(std::filesystem::exists(JournalFile()));
    Click("SpeedButton14"); // "&Powrót ..."
    EXPECT_FALSE(std::filesystem::exists(JournalFile()));

    Click("SpeedButton3");
    ASSERT_TRUE(std::filesystem::exists(JournalFile()));
    Window().close();
    EXPECT_FALSE(std::filesystem::exists(JournalFile()));
    EXPECT_TRUE(LogLines().empty());
}

// Windows ends the session, or closes the program for an installation: Qt
// says the program is about to quit and closes its windows. The exam is not
// abandoned but stays in its journal, as after a crash.
TEST_F(ResumeTest, AtTheSessionsEndTheExamStaysInItsJournal) {
    StartOnSample();
    TypeName("Uczeń");
    Click("SpeedButton3");
    ASSERT_TRUE(std::filesystem::exists(JournalFile()));
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit",
                                          Qt::DirectConnection));
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(Journal().userName, "Uczeń");
    EXPECT_TRUE(LogLines().empty());
}
