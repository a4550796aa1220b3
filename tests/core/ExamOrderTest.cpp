// Every pupil their own order: the draw, the screen's places against the
// file's, and an exam graded and recorded as the file's order would be.
#include "ExamOrder.h"
#include "EgzaminLogic.h"

#include "EgzaminHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

using TFilled = std::array<bool, kOrderedAnswers>;

// Picks the answer whose text is `text`, wherever this exam shows it.
void PickText(TEgzaminHarness& h, const std::string& text) {
    if (h.view().SAMPanel.visible)
        h.ChooseForm(TAnswerMode::TestForm);
    for (int i = 0; i < kAnswerCount; ++i)
        if (h.view().AnswerText(i)->text == text)
            h.logic.ChooseAnswer(std::string(1, char('a' + i)));
    h.logic.CheckTestAnswer();
    h.logic.GoToNextQuestion();
}

// The file's number of the question on screen, from its text "k: Pytanie f:".
int FileQuestionShown(const TEgzaminHarness& h) {
    const std::string& line = h.view().L1.text;
    return std::stoi(line.substr(line.find("Pytanie ") + 8));
}

} // namespace

TEST(ExamOrder, EveryOrderIsReachedAndNoneFavoured) {
    std::map<std::vector<int>, int> questionOrders;
    std::map<TAnswerOrder, int> answerOrders;
    constexpr int kDraws = 6000; // a fixed list of seeds: the same counts on every run
    for (std::uint64_t seed = 0; seed < kDraws; ++seed) {
        const TExamOrder order = DrawExamOrder(3, {TFilled{1, 1, 1, 1, 1}}, true, true, seed);
        ++questionOrders[order.questions];
        ++answerOrders[order.answers[0]];
    }
    ASSERT_EQ(questionOrders.size(), 6u);
    for (const auto& [order, count] : questionOrders)
        EXPECT_NEAR(count, kDraws / 6, 150);
    ASSERT_EQ(answerOrders.size(), 120u);
    for (const auto& [order, count] : answerOrders)
        EXPECT_NEAR(count, kDraws / 120, 30);
}

TEST(ExamOrder, OnlyAnswersWithATextMoveAndTheEmptyPlacesStayLast) {
    const TFilled shapes[] = {{1, 1, 0, 0, 0}, {1, 1, 1, 0, 0}, {1, 1, 1, 1, 0},
                              {1, 1, 1, 1, 1}, {1, 0, 1, 0, 1}, {0, 0, 0, 0, 0}};
    const std::vector<TFilled> filled(std::begin(shapes), std::end(shapes));
    for (std::uint64_t seed = 0; seed < 200; ++seed) {
        const TExamOrder order = DrawExamOrder(6, filled, false, true, seed);
        ASSERT_TRUE(OrderFits(order, 6));
        for (int q = 1; q <= 6; ++q) {
            const TFilled& shape = shapes[q - 1];
            const int withText = int(std::count(shape.begin(), shape.end(), true));
            int lastEmpty = -1;
            for (int place = 0; place < kOrderedAnswers; ++place) {
                const int answer = order.FileAnswer(q, place);
                EXPECT_EQ(order.ShownPlace(q, answer), place);
                EXPECT_EQ(shape[std::size_t(answer)], place < withText) << q << " " << place;
                if (place >= withText) { // the empty ones keep their order
                    EXPECT_GT(answer, lastEmpty);
                    lastEmpty = answer;
                }
            }
        }
    }
}

TEST(ExamOrder, EachOrderIsGradedAndRecordedAsTheFilesOrderWithTheSameChoices) {
    // The choices by text: question f gets answer C when f is a multiple of
    // 3 (wrong), else B (right); questions 2, 4, 6 offer a typed answer.
    auto answerAll = [](TEgzaminHarness& h) {
        for (int k = 1; k <= 6; ++k) {
            const int f = FileQuestionShown(h);
            PickText(h, (f % 3 == 0 ? "Odp C " : "Odp B ") + std::to_string(f));
        }
    };
    TEgzaminHarness fileOrder;
    fileOrder.Begin(ValidTestLines(6));
    answerAll(fileOrder);
    ASSERT_EQ(fileOrder.log.lines.size(), 1u);

    std::set<std::string> firstScreens;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        TEgzaminHarness h;
        h.shuffle = {true, true};
        h.seed = seed;
        h.Begin(ValidTestLines(6));
        firstScreens.insert(h.view().L1.text + h.view().odpA.text);
        EXPECT_EQ(h.view().L1.text.substr(0, 3), "1: "); // the pupil's own numbering
        answerAll(h);
        ASSERT_EQ(h.log.lines, fileOrder.log.lines);
        EXPECT_EQ(h.log.records, fileOrder.log.records); // the file's numbers and letters
    }
    EXPECT_GT(firstScreens.size(), 20u);
}

TEST(ExamOrder, AnsweringAEveryTimeIsRightOnlyInTheFilesOrder) {
    std::vector<std::string> lines = ValidTestLines(8);
    for (int k = 1; k <= 8; ++k)
        lines = WithQuestionLine(lines, k, 6, "a");
    std::set<std::int64_t> gained;
    for (const bool shuffled : {false, true})
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            TEgzaminHarness h;
            h.shuffle = {shuffled, shuffled};
            h.seed = seed;
            h.Begin(lines);
            for (int k = 1; k <= 8; ++k)
                h.AnswerInTestForm("a");
            if (!shuffled)
                EXPECT_EQ(h.state().pointsGained, 16);
            else
                gained.insert(h.state().pointsGained);
        }
    EXPECT_GT(gained.size(), 1u);
    EXPECT_FALSE(gained.contains(16));
}

TEST(ExamOrder, AResumedExamShowsTheOrderItStartedWith) {
    TEgzaminHarness before;
    before.shuffle = {true, true};
    before.seed = 7;
    before.Begin(ValidTestLines(5));
    PickText(before, "Odp B " + std::to_string(FileQuestionShown(before)));
    const TExamJournal journal = before.journal.written.back();
    ASSERT_EQ(ParseJournal(FormatJournal(journal)), journal);

    TEgzaminHarness after;
    after.shuffle = {true, true};
    after.seed = 99; // a new start would draw another order
    after.logic.ResumeExam(journal, true);
    for (const char* control : {"L1", "odpA", "odpB", "odpC", "odpD", "odpE"})
        EXPECT_EQ(after.view().Control(control)->text, before.view().Control(control)->text)
            << control;
}
