#include "GradeScale.h"

#include "ExamResult.h"

#include <gtest/gtest.h>

using namespace kwizmar;

namespace {

struct TGradeCase {
    std::int64_t gained;
    std::int64_t max;
    std::int64_t shown;
    const char* grade; // nullptr: no grade
};

} // namespace

TEST(GradeScale, BoundariesCompareTheExactPercentage) {
    const TGradeCase cases[] = {
        {0, 20, 0, "niedostateczny"},
        {449, 1000, 44, "niedostateczny"}, // 44.9 %
        {8, 20, 40, "niedostateczny"},
        {9, 20, 45, "mierny"},       // exactly 45 %
        {1199, 2000, 59, "mierny"},  // 59.95 %
        {12, 20, 60, "dostateczny"}, // exactly 60 %
        {14, 20, 70, "dostatecznie dobry"},
        {16, 20, 80, "dobry"},
        {179, 200, 89, "dobry"}, // 89.5 % shows 89 and stays "dobry"
        {8999, 10000, 89, "dobry"},
        {18, 20, 90, "bardzo dobry"},
        {20, 20, 100, "bardzo dobry"}, // 100 % itself
        {201, 200, 100, "celujący"},   // 100.5 % shows 100
        {21, 20, 105, "celujący"},
        {29, 100, 29, "niedostateczny"}, // not 28: the quotient is exact
        {1, 3, 33, "niedostateczny"},
        {2, 3, 66, "dostateczny"},
        {-1, 3, -33, nullptr}, // below 0 % no row matches
        {5, -10, -50, nullptr},
        {0, -10, 0, "niedostateczny"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.gained) + " of " + std::to_string(c.max));
        const auto percent = TExactPercent::Of(c.gained, c.max);
        ASSERT_TRUE(percent);
        EXPECT_EQ(percent->Truncated(), c.shown);
        const auto grade = TGradeScale::Lookup(*percent);
        if (c.grade) {
            ASSERT_TRUE(grade);
            EXPECT_EQ(*grade, c.grade);
        } else {
            EXPECT_FALSE(grade);
        }
    }
}

TEST(GradeScale, MaximumOfZeroHasNoPercentage) {
    EXPECT_FALSE(TExactPercent::Of(3, 0));
}

TEST(ExamResult, ElapsedSecondsRunFromOneToSixty) {
    struct {
        int minutesLeft, secondsLeft;
        const char* text;
    } cases[] = {
        {9, 59, "Egzamin trwał 0 minut i 1 sekund"},
        {9, 0, "Egzamin trwał 0 minut i 60 sekund"}, // 60 s of a 10-minute exam
        {8, 59, "Egzamin trwał 1 minut i 1 sekund"},
        {8, 0, "Egzamin trwał 1 minut i 60 sekund"}, // exactly 2 minutes
        {0, 0, "Egzamin trwał 9 minut i 60 sekund"}, // time-out
    };
    for (const auto& c : cases) {
        TExamState state;
        state.minutesAllowed = 10;
        state.minutesLeft = c.minutesLeft;
        state.secondsLeft = c.secondsLeft;
        state.maxPoints = 20;
        EXPECT_EQ(DurationText(ComputeExamResult(state)), c.text);
    }
}

TEST(ExamResult, SummaryAndLogLineOfTheExampleExam) {
    TExamState state;
    state.userName = "Tester";
    state.minutesAllowed = 10;
    state.minutesLeft = 2;
    state.secondsLeft = 48;
    state.maxPoints = 40;
    state.pointsGained = 30;
    state.pointsLost = 10;
    state.headerText = "***     Użytkownik Tester przystąpił do egzaminu \"Próbny\" o godzinie "
                       "10:15:00 dnia 2002-05-06. Przewidywany czas egzaminu 10min. Liczba pytań "
                       "20. Maksymalna liczba punktów 40";
    const TExamResult r = ComputeExamResult(state);
    const std::array<std::string, 6> summary = {
        "Tester gratuluję przejścia egzaminu",
        "Egzamin trwał 7 minut i 12 sekund",
        "Do zdobycia było 40, z czego zdobyto 30 a stracono 10",
        "Zdobyłeś 75% całości punktów.",
        "Otrzymana ocena to:",
        "dostatecznie dobry",
    };
    EXPECT_EQ(SummaryLines(state.userName, "40", r), summary);
    EXPECT_EQ(ResultLineText(state.headerText, r),
              "Użytkownik Tester przystąpił do egzaminu \"Próbny\" o godzinie 10:15:00 dnia "
              "2002-05-06. Przewidywany czas egzaminu 10min. Liczba pytań 20. Maksymalna liczba "
              "punktów 40. Egzamin trwał 7 minut i 12 sekund. Zdobyto 30pkt. (75%) a stracono "
              "10pkt. Otrzymana ocena to: dostatecznie dobry.");
}

TEST(ExamResult, NoGradeAndNoPercentageAreSaidPlainly) {
    TExamState state;
    state.minutesAllowed = 10;
    state.minutesLeft = 5;
    state.pointsGained = -1;
    state.maxPoints = 3;
    TExamResult r = ComputeExamResult(state);
    EXPECT_EQ(SummaryLines("", "", r)[3], "Zdobyłeś -33% całości punktów.");
    EXPECT_EQ(GradeText(r), kNoGradeText);

    state.pointsGained = 4;
    state.maxPoints = 0;
    r = ComputeExamResult(state);
    EXPECT_FALSE(r.percentShown);
    EXPECT_EQ(SummaryLines("", "", r)[3],
              std::string("Zdobyłeś ") + kNoPercentText + "% całości punktów.");
    EXPECT_EQ(GradeText(r), kNoGradeText);
}

TEST(GradeScale, TheTextsShownStayAsTheyWere) {
    EXPECT_EQ(GradeScaleText(), "Skala ocen odnosi się do ilości zdobytych przez \n"
                                "ciebie punktów i tak za zdobycie :\n"
                                "0% ÷ 45% - niedostateczny\n"
                                "46% ÷ 59% - mierny\n"
                                "60% ÷ 69% - dostateczny\n"
                                "70% ÷ 79% - dostatecznie dobry\n"
                                "80% ÷ 89% - dobry\n"
                                "90% ÷ 100% - bardzo dobry\n"
                                "> 100% - ceujący");
    EXPECT_EQ(GradeRuleText(), "Procent to zdobyte punkty × 100 ÷ maksimum; od niego zależy ocena "
                               "(90% bardzo dobry, ponad 100% celujący).");
}
