// An exam picked up from its journal after the program died: it goes on where
// it stood and ends with the line an uninterrupted exam with the same answers
// and the same time gives, the time the program was off counted in.
#include "EgzaminLogic.h"

#include "EgzaminHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

using TStep = std::function<void(TEgzaminHarness&)>;

// Four questions worth 2 points, the right letter "b"; questions 2 and 4 offer
// a typed answer worth 3 more. Each step ends where the journal is written.
const std::vector<TStep> kSteps = {
    [](TEgzaminHarness& h) { // 0: question 1 right
        h.Ticks(15);
        h.logic.ChooseAnswer("b");
        h.logic.CheckTestAnswer();
    },
    [](TEgzaminHarness& h) { // 1: on to question 2, the chooser
        h.Ticks(5);
        h.logic.GoToNextQuestion();
    },
    [](TEgzaminHarness& h) { // 2: a wrong typed answer
        h.ChooseForm(TAnswerMode::SelfTyped);
        h.Type("zła");
        h.logic.CheckTypedAnswer();
    },
    [](TEgzaminHarness& h) { h.logic.FallBackToTestForm(); }, // 3
    [](TEgzaminHarness& h) {                                  // 4: question 2 wrong
        h.Ticks(20);
        h.logic.ChooseAnswer("a");
        h.logic.CheckTestAnswer();
    },
    [](TEgzaminHarness& h) { h.logic.GoToNextQuestion(); }, // 5: question 3
    [](TEgzaminHarness& h) {                                // 6: right, on to question 4
        h.Ticks(30);
        h.logic.ChooseAnswer("b");
        h.logic.CheckTestAnswer();
        h.logic.GoToNextQuestion();
    },
    [](TEgzaminHarness& h) { // 7: a right typed answer
        h.ChooseForm(TAnswerMode::SelfTyped);
        h.Type("odp b 4");
        h.logic.CheckTypedAnswer();
    },
    [](TEgzaminHarness& h) { // 8: the finish
        h.Ticks(10);
        h.logic.GoToNextQuestion();
    },
};

void RunSteps(TEgzaminHarness& h, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        kSteps[i](h);
}

// The program dies after `done` steps (and `unfinished`, a step cut short),
// stays off for `deadSeconds`, and the exam is picked up in a new program.
struct TInterrupted {
    TEgzaminHarness before;
    TEgzaminHarness after;
    TExamJournal journal;

    TInterrupted(std::size_t done, const TStep& unfinished, int deadSeconds, bool goOn) {
        before.Begin(ValidTestLines(4));
        RunSteps(before, 0, done);
        if (unfinished)
            unfinished(before);
        journal = before.journal.written.back();
        after.clock.epoch = before.clock.epoch + deadSeconds;
        after.logic.ResumeExam(journal, goOn);
    }
};

} // namespace

TEST(Resume, TheExamGoesOnAndEndsAsAnUninterruptedOneWithTheDeadTimeCounted) {
    const TStep pickNotChecked = [](TEgzaminHarness& h) { h.logic.ChooseAnswer("b"); };
    const TStep typingNotChecked = [](TEgzaminHarness& h) {
        h.ChooseForm(TAnswerMode::SelfTyped);
        h.Type("odp b 4");
    };
    const struct {
        std::size_t done;
        TStep unfinished;
        int deadSeconds;
    } cases[] = {
        {1, nullptr, 40},          // a verdict on screen
        {2, nullptr, 0},           // the chooser
        {3, nullptr, 7},           // a wrong typed answer, the fall-back offered
        {4, nullptr, 60},          // the test form after the fall-back: no typing again
        {6, pickNotChecked, 0},    // a pick not yet checked is dropped
        {7, typingNotChecked, 30}, // typing is dropped, the chooser comes back
        {5, nullptr, 10 * 60},     // the time ran out while the program was off
        {8, nullptr, 0},           // nothing left to do but the last "O&K"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "after step " << c.done << ", off " << c.deadSeconds << " s");
        TEgzaminHarness whole;
        whole.Begin(ValidTestLines(4));
        RunSteps(whole, 0, c.done);
        whole.Ticks(c.deadSeconds);
        RunSteps(whole, c.done, kSteps.size());
        ASSERT_EQ(whole.log.lines.size(), 1u);

        TInterrupted exam(c.done, c.unfinished, c.deadSeconds, true);
        EXPECT_TRUE(exam.before.log.lines.empty());
        RunSteps(exam.after, c.done, kSteps.size());
        EXPECT_EQ(exam.after.log.lines, whole.log.lines);
        EXPECT_EQ(exam.after.log.records, whole.log.records);
        EXPECT_TRUE(exam.after.view().Panel4.visible);
        EXPECT_TRUE(exam.after.journal.removed);
    }
}

TEST(Resume, EndingItFinishesAtOnceWithWhatWasAnswered) {
    TInterrupted exam(2, nullptr, 40, false); // 20 s of the exam, 40 s off
    EXPECT_TRUE(exam.after.view().Panel4.visible);
    EXPECT_FALSE(exam.after.view().Czas);
    EXPECT_EQ(exam.after.view().RxLabel6.text, "Egzamin trwał 0 minut i 60 sekund");
    EXPECT_EQ(exam.after.view().RxLabel7.text,
              "Do zdobycia było 8, z czego zdobyto 2 a stracono 0");
    EXPECT_EQ(exam.after.log.lines.size(), 1u);
    EXPECT_TRUE(exam.after.journal.removed);
}

TEST(Resume, ATestChangedOrGoneEndsTheExamWithWhatWasAnswered) {
    for (const bool gone : {false, true}) {
        SCOPED_TRACE(gone ? "gone" : "changed");
        TEgzaminHarness before;
        before.Begin(ValidTestLines(4));
        RunSteps(before, 0, 5); // 1 right, 1 wrong
        const TExamJournal journal = before.journal.written.back();
        if (gone)
            std::filesystem::remove(journal.testPath);
        else
            before.dir.Write("test.ts2", MakeTs2(WithQuestionLine(ValidTestLines(4), 3, 6, "c")));

        TEgzaminHarness after;
        const TEgzaminLogic::TResumeCheck check = after.logic.CheckJournal(journal);
        EXPECT_FALSE(MayContinue(check));
        EXPECT_NE(ResumeMessage(journal, check)
                      .find(gone ? "Pliku testu już nie ma." : "Plik testu został zmieniony"),
                  std::string::npos);
        after.logic.ResumeExam(journal, true);
        EXPECT_TRUE(after.view().Panel4.visible);
        EXPECT_EQ(after.view().RxLabel7.text, "Do zdobycia było 8, z czego zdobyto 2 a stracono 2");
        EXPECT_EQ(after.log.lines.size(), 1u);
        EXPECT_TRUE(after.journal.removed);
    }
}

TEST(Resume, AFinishCutShortWritesItsLineExactlyOnce) {
    for (const bool reachedTheLog : {false, true}) {
        SCOPED_TRACE(reachedTheLog);
        TEgzaminHarness before;
        before.Begin(ValidTestLines(4));
        RunSteps(before, 0, kSteps.size());
        const TExamJournal journal = before.journal.written.back();
        ASSERT_EQ(journal.phase, TJournalPhase::Finishing);
        ASSERT_EQ(before.log.lines.size(), 1u);

        TEgzaminHarness after;
        after.log.lines = {"1. wcześniejszy"};
        if (reachedTheLog)
            after.log.lines.push_back("2. " + journal.resultText);
        after.logic.ResumeExam(journal, true);
        EXPECT_EQ(after.log.lines.size(), 2u);
        EXPECT_EQ(after.log.lines.back(), "2. " + journal.resultText);
        // The record goes with the line, or is made sure of where the line got in.
        EXPECT_EQ(journal.record, before.log.records.at(0));
        EXPECT_EQ(reachedTheLog ? after.log.keptRecords : after.log.records,
                  std::vector<TAnswerRecord>{journal.record});
        EXPECT_TRUE(after.journal.removed);
        EXPECT_TRUE(after.view().Panel6.visible); // nothing else to show
    }
}

TEST(AnswersRecord, NamesEveryQuestionShownInTheFilesNumberingWithWhatWasAnswered) {
    TEgzaminHarness whole;
    whole.Begin(ValidTestLines(4));
    RunSteps(whole, 0, kSteps.size());
    ASSERT_EQ(whole.log.records.size(), 1u);
    const TAnswerRecord& record = whole.log.records[0];
    EXPECT_EQ(record.lineStart + ". Przewidywany",
              whole.log.lines[0].substr(3, record.lineStart.size() + 14));
    EXPECT_EQ(record.testName, "\"Geografia\"");
    EXPECT_EQ(record.testHash, whole.logic.loadedTest().test->ContentHash());
    EXPECT_EQ(record.questionCount, 4);
    const std::vector<TAnswerEntry> expected = {
        {1, 'B', "Pytanie 1", 'B', false, false, "", 2, 0},
        {2, 'B', "Pytanie 2", 'A', true, false, "zła", 0, 2},
        {3, 'B', "Pytanie 3", 'B', false, false, "", 2, 0},
        {4, 'B', "Pytanie 4", 0, true, true, "odp b 4", 5, 0},
    };
    EXPECT_EQ(record.entries, expected);

    // The time runs out after a wrong typed answer to question 2: it was
    // tried, nothing picked; questions 3 and 4 were never shown.
    TEgzaminHarness cut;
    cut.Begin(ValidTestLines(4));
    RunSteps(cut, 0, 3);
    cut.Ticks(600);
    ASSERT_EQ(cut.log.records.size(), 1u);
    EXPECT_EQ(cut.log.records[0].entries,
              (std::vector<TAnswerEntry>{expected[0],
                                         {2, 'B', "Pytanie 2", 0, true, false, "zła", 0, 0}}));
}

TEST(Resume, AnExamAbandonedLeavesNothingToPickUp) {
    TEgzaminHarness h;
    h.Begin(ValidTestLines(4));
    RunSteps(h, 0, 2);
    EXPECT_FALSE(h.journal.removed);
    h.logic.ReturnToTestChoice();
    EXPECT_TRUE(h.journal.removed);

    h.logic.StartExam();
    EXPECT_FALSE(h.journal.removed);
    h.logic.AbandonExam();
    EXPECT_TRUE(h.journal.removed);
    EXPECT_TRUE(h.log.lines.empty());
}

// A test opened by a path relative to the folder the program was started in
// is found again by a program started anywhere else.
TEST(Resume, ATestOpenedByARelativePathIsFoundFromAnotherFolder) {
    TEgzaminHarness before;
    const std::filesystem::path started = std::filesystem::current_path();
    before.dir.Write("geografia.ts2", MakeTs2(ValidTestLines(2)));
    std::filesystem::current_path(before.dir.path());
    before.logic.LoadTestFile("geografia.ts2");
    std::filesystem::current_path(started);
    before.logic.SetUserName("Tester");
    before.logic.StartExam();
    before.AnswerInTestForm("b");

    const TExamJournal journal = before.journal.written.back();
    EXPECT_EQ(journal.testPath, (before.dir.path() / "geografia.ts2").string());
    TEgzaminHarness after;
    EXPECT_EQ(after.logic.CheckJournal(journal).test, TEgzaminLogic::TResumeCheck::TTest::Same);
}
