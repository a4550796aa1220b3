#include "ClassSummary.h"

#include <gtest/gtest.h>

namespace kwizmar {
namespace {

std::string Line(int k, const std::string& name, const std::string& test, const std::string& date,
                 int gained, int maxPoints, const std::string& percent, const std::string& grade) {
    return std::to_string(k) + ". Użytkownik " + name + " przystąpił do egzaminu \"" + test +
           "\" o godzinie 10:00:00 dnia " + date +
           ". Przewidywany czas egzaminu 10min. Liczba pytań 5. Maksymalna liczba punktów " +
           std::to_string(maxPoints) + ". Egzamin trwał 3 minut i 5 sekund. Zdobyto " +
           std::to_string(gained) + "pkt. (" + percent + "%) a stracono " +
           std::to_string(maxPoints - gained) + "pkt. Otrzymana ocena to: " + grade + ".";
}

std::vector<TResultLine> KnownLog() {
    const std::vector<std::string> text = {
        Line(1, "Ala", "Historia", "04.05.2026", 9, 20, "45", "mierny"),
        Line(2, "Ola", "Historia", "04.05.2026", 19, 20, "95", "bardzo dobry"),
        Line(3, "Ela", "Biologia", "04.05.2026", 20, 20, "100", "bardzo dobry"),
        Line(4, "Iza", "Historia", "05.05.2026", 14, 20, "70", "dostatecznie dobry"),
        "5. wpisane ręcznie",
        Line(6, "Ula", "Historia", "06.05.2026", 3, 20, "15", "niedostateczny"),
        Line(7, "Ewa", "Historia", "05.05.2026", 15, 20, "75", "dostatecznie dobry"),
        Line(8, "Zero", "Pusty", "05.05.2026", 0, 0, "—", "brak oceny"),
    };
    std::vector<TResultLine> lines;
    for (const std::string& t : text)
        lines.push_back(ParseResultLine(t));
    return lines;
}

TEST(ClassSummary, FiguresAndGradesOfOneTestInARangeOfDays) {
    TExportFilter filter;
    filter.test = "Historia";
    filter.from = TDate{2026, 5, 4};
    filter.to = TDate{2026, 5, 5};
    const TClassSummary s = SummarizeClass(KnownLog(), TExportTable(), filter);
    ASSERT_EQ(s.exams.size(), 4u);
    EXPECT_EQ(s.exams[3].userName, "Ewa");
    EXPECT_EQ(s.exams[3].grade, "dostatecznie dobry");
    EXPECT_DOUBLE_EQ(*s.mean, (45 + 95 + 70 + 75) / 4.0);
    EXPECT_EQ(ExamLine(s.exams[0]), "Ala — 9/20 pkt, 45% — mierny");
    EXPECT_DOUBLE_EQ(*s.median, 72.5);
    EXPECT_EQ(s.lowest, 45);
    EXPECT_EQ(s.highest, 95);
    EXPECT_EQ(s.grades, (std::array<std::size_t, 7>{0, 1, 0, 2, 0, 1, 0}));
}

TEST(ClassSummary, TheMeanAndMedianComeFromTheExactSharesNotTheWholePercentages) {
    std::vector<TResultLine> lines;
    int k = 0;
    for (const auto& [gained, shown] : std::vector<std::pair<int, const char*>>{
             {11, "100"}, {5, "45"}, {4, "36"}, {11, "100"}})
        lines.push_back(ParseResultLine(
            Line(++k, "Uczeń", "Fizyka", "04.05.2026", gained, 11, shown, "dobry")));
    const TClassSummary s = SummarizeClass(lines, TExportTable(), {});
    EXPECT_EQ(PolishNumber(*s.mean), "70,5"); // 70,45; the whole ones give 70,3
    EXPECT_DOUBLE_EQ(*s.median, (500.0 / 11 + 100) / 2);
}

TEST(ClassSummary, ATestWithoutPointsHasExamsButNoFigures) {
    TExportFilter filter;
    filter.test = "Pusty";
    const TClassSummary s = SummarizeClass(KnownLog(), TExportTable(), filter);
    EXPECT_EQ(s.exams.size(), 1u);
    EXPECT_EQ(s.exams[0].grade, "brak oceny");
    EXPECT_FALSE(s.mean || s.median || s.lowest || s.highest);
    EXPECT_EQ(s.grades, (std::array<std::size_t, 7>{}));
}

TEST(ClassSummary, ListsEachTestOnceInTheOrderOfItsFirstExam) {
    EXPECT_EQ(TestsInLog(KnownLog()), (std::vector<std::string>{"Historia", "Biologia", "Pusty"}));
}

TEST(ClassSummary, WritesNumbersWithADecimalComma) {
    const std::vector<std::pair<double, std::string>> cases = {
        {72, "72"}, {72.5, "72,5"}, {71.25, "71,3"}, {66.666, "66,7"}, {0.04, "0"}, {-2.5, "-2,5"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(PolishNumber(value), text) << value;
}

} // namespace
} // namespace kwizmar
