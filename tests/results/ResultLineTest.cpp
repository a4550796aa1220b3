#include "ResultLine.h"

#include "Banner.h"
#include "GradeScale.h"
#include "TestFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kwizmar {
namespace {

struct TWritten {
    std::string line;
    TResultFields fields;
};

// A line as the finish writes it, and the fields it was written from.
TWritten Write(const std::string& userName, const std::string& testName,
               const IRegionalSettings& regional, std::int64_t gained, std::int64_t maxPoints,
               int number = 3) {
    TExamState state;
    state.minutesAllowed = 10;
    state.minutesLeft = 2;
    state.secondsLeft = 48;
    state.pointsGained = gained;
    state.pointsLost = maxPoints - gained;
    state.maxPoints = maxPoints;
    const TBannerFacts facts{userName,
                             testName,
                             {10, 15, 0},
                             {2002, 5, 6},
                             10,
                             "20",
                             maxPoints == 4 ? "004" : std::to_string(maxPoints)};
    const TExamResult result = ComputeExamResult(state);
    TWritten w;
    w.line =
        std::to_string(number) + ". " + ResultLineText(BuildHeaderText(facts, regional), result);
    w.fields.number = number;
    w.fields.userName = userName;
    w.fields.testName = testName;
    w.fields.startTime = FormatTime(facts.startTime, regional.LongTimeFormat());
    w.fields.startDate = FormatDate(facts.startDate, regional.ShortDateFormat());
    w.fields.minutesAllowed = 10;
    w.fields.questionCount = "20";
    w.fields.maxPoints = facts.maxPoints;
    w.fields.result = result;
    return w;
}

TEST(ResultLine, ReadsBackWhatTheFinishWroteForEveryGrade) {
    const testing::TFakeRegional regional;
    // 0 … 120 % of 200 points crosses every boundary of the scale; 0 of 0
    // points has neither a percentage nor a grade, -1 points no grade.
    std::vector<std::pair<std::int64_t, std::int64_t>> cases = {{0, 0}, {-1, 4}, {3, 4}};
    for (std::int64_t gained = 0; gained <= 240; gained += 10)
        cases.push_back({gained, 200});
    for (const auto& [gained, maxPoints] : cases) {
        const TWritten w = Write("Tester", "\"Próbny\"", regional, gained, maxPoints);
        const TResultLine parsed = ParseResultLine(w.line);
        ASSERT_TRUE(parsed.fields.has_value()) << w.line;
        EXPECT_EQ(*parsed.fields, w.fields) << w.line;
        EXPECT_EQ(parsed.raw, w.line);
    }
}

TEST(ResultLine, ReadsBackOddNamesAndRegionalFormats) {
    const testing::TFakeRegional polish;
    const testing::TFakeRegional english("M/d/yy", "h:mm:ss AP");
    const testing::TFakeRegional iso("yyyy-MM-dd", "HH:mm:ss");
    const std::string eighty = std::string(40, 'x') + "ąćęłńóśźżĄĆĘŁŃÓŚŹŻxxxxxxxxxxxxxxxxxxxxxx";
    const std::vector<std::pair<std::string, std::string>> names = {
        {"Jan \"Kowal\" Kowalski", "\"Test \"z\" cudzysłowem\""},
        {"a;b;c", "\"geo;grafia\""},
        {"Zażółć Gęślą Jaźń", "\"Język polski\""},
        {eighty, "\"" + eighty + "\""},
        {"Jan przystąpił do egzaminu x", "\"Historia\""},
        {"Ala. Egzamin trwał 1 minut i 1 sekund", "\"o godzinie dnia\""},
        {"", "bez cudzysłowów"},
    };
    for (const IRegionalSettings* regional : {static_cast<const IRegionalSettings*>(&polish),
                                              static_cast<const IRegionalSettings*>(&english),
                                              static_cast<const IRegionalSettings*>(&iso)})
        for (const auto& [user, test] : names) {
            const TWritten w = Write(user, test, *regional, 30, 40);
            const TResultLine parsed = ParseResultLine(w.line);
            ASSERT_TRUE(parsed.fields.has_value()) << w.line;
            EXPECT_EQ(*parsed.fields, w.fields) << w.line;
        }
}

TEST(ResultLine, KeepsLinesTheFinishCouldNotHaveWrittenWhole) {
    const testing::TFakeRegional regional;
    const std::string good = Write("Tester", "\"Próbny\"", regional, 30, 40).line;
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string line = good;
        line.replace(line.find(from), from.size(), to);
        return line;
    };
    const std::vector<std::string> lines = {
        "",
        "Zapisane ręcznie: Kowalski 5",
        good.substr(0, good.size() - 1), // cut short
        good + " ",                      // a blank after the end
        "03" + good.substr(1),           // a number with a leading zero
        replaced("Zdobyto 30pkt", "Zdobyto +30pkt"),
        replaced("ocena to: dostatecznie dobry", "ocena to: szóstka"),
        replaced("(75%)", "(75,5%)"),
        replaced("10min.", "10 min."),
        replaced("trwał 7 minut", "trwał siedem minut"),
        // two splits, both or neither test part in quotes: no way to tell the name
        replaced("Tester przystąpił do egzaminu \"Próbny\"",
                 "A przystąpił do egzaminu B przystąpił do egzaminu C"),
        replaced("Tester przystąpił do egzaminu \"Próbny\"",
                 "A przystąpił do egzaminu \"B\" przystąpił do egzaminu \"C\""),
    };
    for (const std::string& line : lines) {
        const TResultLine parsed = ParseResultLine(line);
        EXPECT_FALSE(parsed.fields.has_value()) << line;
        EXPECT_EQ(parsed.raw, line);
    }
}

TEST(ResultLine, TestTitleDropsTheEnclosingQuotesOnly) {
    TResultFields f;
    f.testName = "\"Test \"z\" cudzysłowem\"";
    EXPECT_EQ(TestTitle(f), "Test \"z\" cudzysłowem");
    f.testName = "bez";
    EXPECT_EQ(TestTitle(f), "bez");
}

} // namespace
} // namespace kwizmar
