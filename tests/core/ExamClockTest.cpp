// The exam time field and the clock, driven through the main window's model.
#include "ExamClock.h"

#include "EgzaminHarness.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace kwizmar;
using namespace kwizmar::testing;

TEST(ClampExamMinutes, KeepsTheFieldWithinFiveToSixty) {
    const std::pair<const char*, const char*> cases[] = {
        {"70", "60"},   {"3", "5"},
        {"-7", "5"},    {"5", "5"},
        {"60", "60"},   {"61", "60"},
        {"12", "12"},   {"", ""}, // unreadable: reads as 5, stays as typed
        {"abc", "abc"}, {"99999999999", "99999999999"},
    };
    TEgzaminHarness h;
    for (const auto& [typed, shown] : cases) {
        SCOPED_TRACE(typed);
        h.logic.ClampExamMinutes(typed);
        EXPECT_EQ(h.view().SETime.text, shown);
    }
}

TEST(ClampExamMinutes, TypedDigitsStayUntilTheEntryIsCompleteThenStartClamped) {
    TEgzaminHarness h;
    h.Load(ValidTestLines(2));
    h.logic.SetUserName("Tester");
    for (const char* typed : {"3", "30"})
        h.logic.TypeExamMinutes(typed);
    EXPECT_EQ(h.view().SETime.text, "30");
    h.logic.TypeExamMinutes("2");
    h.logic.StartExam();
    EXPECT_EQ(h.view().SETime.text, "5");
    EXPECT_EQ(h.state().minutesAllowed, 5);
}

TEST(ClampExamMinutes, AnUnreadableTimeStartsAFiveMinuteExam) {
    TEgzaminHarness h;
    h.Begin(ValidTestLines(2), "abc");
    EXPECT_EQ(h.state().minutesAllowed, 5);
    EXPECT_EQ(h.view().minuty.text, "05");
}

TEST(ExamClock, FiveMinutesEndOnTheThreeHundredthTickAtZero) {
    TEgzaminHarness h;
    h.Begin(ValidTestLines(3), "5");
    EXPECT_TRUE(h.view().Czas);
    EXPECT_EQ(h.view().minuty.text + ":" + h.view().sekundy.text, "05:00");
    h.Ticks(1);
    EXPECT_EQ(h.view().minuty.text + ":" + h.view().sekundy.text, "04:59");
    h.Ticks(290);
    EXPECT_EQ(h.view().minuty.text + ":" + h.view().sekundy.text, "00:09");
    h.Ticks(8);
    EXPECT_EQ(h.view().minuty.text + ":" + h.view().sekundy.text, "00:01");
    EXPECT_TRUE(h.view().Czas);
    EXPECT_FALSE(h.view().Panel4.visible);
    EXPECT_TRUE(h.log.lines.empty());

    h.Ticks(1); // the 300th
    EXPECT_EQ(h.view().minuty.text + ":" + h.view().sekundy.text, "00:00");
    EXPECT_FALSE(h.view().Czas);
    EXPECT_TRUE(h.view().Panel4.visible);
    EXPECT_EQ(h.view().RxLabel6.text, "Egzamin trwał 4 minut i 60 sekund");
    ASSERT_EQ(h.log.lines.size(), 1u);

    h.Ticks(100); // ticks still queued when the clock stopped change nothing
    EXPECT_EQ(h.view().sekundy.text, "00");
    EXPECT_EQ(h.log.lines.size(), 1u);
}

namespace {

// Where the time runs out, and the totals the summary must show: question 1
// is answered right (2 points) before, then question 2 (which offers a
// typed answer worth 3 extra points) is brought to the state.
struct TTimeOutCase {
    const char* state;
    void (*drive)(TEgzaminHarness&);
    std::int64_t gained;
    std::int64_t lost;
};

const TTimeOutCase kTimeOuts[] = {
    {"Q, answer picked but not checked",
     [](TEgzaminHarness& h) {
         h.ChooseForm(TAnswerMode::TestForm);
         h.logic.ChooseAnswer("b");
     },
     2, 0},
    {"C", [](TEgzaminHarness&) {}, 2, 0},
    {"T, text typed but not checked",
     [](TEgzaminHarness& h) {
         h.ChooseForm(TAnswerMode::SelfTyped);
         h.Type("Odp B 2");
     },
     2, 0},
    {"V after a wrong pick",
     [](TEgzaminHarness& h) {
         h.ChooseForm(TAnswerMode::TestForm);
         h.logic.ChooseAnswer("a");
         h.logic.CheckTestAnswer();
     },
     2, 2},
    {"V after a right typed answer",
     [](TEgzaminHarness& h) {
         h.ChooseForm(TAnswerMode::SelfTyped);
         h.Type("odp b 2");
         h.logic.CheckTypedAnswer();
     },
     7, 0},
    {"W",
     [](TEgzaminHarness& h) {
         h.ChooseForm(TAnswerMode::SelfTyped);
         h.Type("Odp C 2");
         h.logic.CheckTypedAnswer();
     },
     2, 0},
};

} // namespace

TEST(ExamClock, TimeOutInEveryAnswerStateFinishesWithTheTotalsSoFar) {
    for (const auto& c : kTimeOuts) {
        SCOPED_TRACE(c.state);
        TEgzaminHarness h;
        h.Begin(ValidTestLines(10), "5"); // max 20 points
        h.AnswerInTestForm("b");
        ASSERT_EQ(h.state().questionNumber, 2);
        c.drive(h);
        h.Ticks(300);

        EXPECT_FALSE(h.view().Czas);
        EXPECT_TRUE(h.view().Panel4.visible);
        EXPECT_EQ(h.state().pointsGained, c.gained);
        EXPECT_EQ(h.state().pointsLost, c.lost);
        EXPECT_EQ(h.state().nextQuestion, 12); // N + 2: the questions after 2 never came
        EXPECT_EQ(h.view().RxLabel6.text, "Egzamin trwał 4 minut i 60 sekund");
        EXPECT_EQ(h.view().RxLabel7.text, "Do zdobycia było 20, z czego zdobyto " +
                                              std::to_string(c.gained) + " a stracono " +
                                              std::to_string(c.lost));
        ASSERT_EQ(h.log.lines.size(), 1u);
        EXPECT_NE(h.log.lines[0].find("Zdobyto " + std::to_string(c.gained) + "pkt."),
                  std::string::npos);
        // Enter on the summary page does nothing.
        for (const char* target : {"Next", "Dalej", "SamEdit", "RBSam", "B"})
            h.Enter(target);
        EXPECT_EQ(h.log.lines.size(), 1u);
        EXPECT_TRUE(h.view().Panel4.visible);
    }
}

TEST(ExamClock, TimeOutEndsAnExamOfNoQuestionsOrFewerThanNone) {
    // The loader takes any count whose 9 · N + 7 lines are there, so a count
    // below zero loads; its exam ends with the clock, one line logged.
    for (const int count : {0, -1, -2000000000, INT32_MIN}) {
        SCOPED_TRACE(count);
        TEgzaminHarness h;
        auto lines = ValidTestLines(1);
        lines[4] = std::to_string(count);
        h.Begin(lines, "5");
        h.Ticks(300);
        EXPECT_FALSE(h.view().Czas);
        EXPECT_TRUE(h.view().Panel4.visible);
        EXPECT_EQ(h.view().NrPyt.text, std::to_string(count + 1));
        EXPECT_EQ(h.state().nextQuestion, count + 2);
        EXPECT_EQ(h.log.lines.size(), 1u);
    }
}

TEST(ExamClock, ElapsedTimeOfAWholeMinuteReadsSixtySeconds) {
    const std::pair<int, const char*> cases[] = {
        {1, "Egzamin trwał 0 minut i 1 sekund"},
        {60, "Egzamin trwał 0 minut i 60 sekund"},
        {61, "Egzamin trwał 1 minut i 1 sekund"},
        {120, "Egzamin trwał 1 minut i 60 sekund"},
    };
    for (const auto& [seconds, text] : cases) {
        SCOPED_TRACE(seconds);
        TEgzaminHarness h;
        h.Begin(ValidTestLines(1));
        h.Ticks(seconds);
        h.AnswerInTestForm("b");
        EXPECT_EQ(h.view().RxLabel6.text, text);
    }
}
