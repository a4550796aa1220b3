#include "QuestionAnalysis.h"

#include "ResultsLogFormat.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace kwizmar {
namespace {

const std::string kFolder = KWIZMAR_SOURCE_DIR "/tests/data/answers-small/";

std::vector<TResultLine> Parsed(const std::vector<std::string>& text) {
    std::vector<TResultLine> lines;
    for (const std::string& line : text)
        lines.push_back(ParseResultLine(line));
    return lines;
}

struct TFixture {
    std::vector<TResultLine> lines;
    std::string records;
};

// tests/data/answers-small: "Historia", five questions (keys A B C D E,
// question 2 worth 2 points, the rest 1), six exams with records (lines 1–6),
// one from before the records (7), "Biologia" (8) and a line written by hand
// (9). The records file also holds a line that is no record, a second record
// of line 1, a record of line 3 with Ala's start, an unreadable record of
// line 4 before its own, and a record of a line 10 the log doesn't have.
//
//        Q1 A   Q2 B   Q3 C   Q4 D          Q5 E   right  points
//   1    A      C      C      typed right   A      3      3
//   2    A      C      C      D             A      3      3
//   3    A      B      D      –             A      2      3
//   4    A      C      C      E, typed x    B      2      2
//   5    A      A      B      E             –      1      1
//   6    –      B      (not shown)  typed x –      1      2
//
// Ranked by points, equal points in line order: 1 2 3 4 6 5; groups of
// round(0.27 × 6) = 2: the best 1, 2 (3 ties with them and stays out), the
// weakest 6, 5.
//   Q1: 5 of 5 answered right, 100 % (too easy); best 2/2, weakest 1/2: 0,5.
//   Q2: 2 of 6, 33,3 %; best 0/2, weakest 1/2: -0,5 (check the key; the best
//       also picked C).
//   Q3: 3 of 5, 60 %; best 2/2, weakest 0/2: 1.
//   Q4: 2 of 5 (1 by typing; 3 typed), 40 %; 1.
//   Q5: 0 of 4, 0 % (too hard; the best picked A): 0.
// KR-20: right per question r = 5 2 3 2 0, n = 6: Σ r(n−r) = 30; right per
// exam X = 3 3 2 2 1 1: n·ΣX² − (ΣX)² = 6·28 − 144 = 24;
// 5/4 · (1 − 30/24) = −0,3125.
// Points 3 3 3 2 1 2 of 6: mean 14/6, deviation √(36/6 − (14/6)²).
TFixture AnswersSmall() {
    std::string log, records;
    EXPECT_TRUE(ReadWholeFile(kFolder + "MSStr32.dll", log));
    EXPECT_TRUE(ReadWholeFile(kFolder + "odpowiedzi-egzaminow.txt", records));
    return {Parsed(ParseLog(log)), records};
}

TEST(QuestionAnalysis, FiguresOfAHandComputedTest) {
    const TFixture f = AnswersSmall();
    const TQuestionAnalysis a = AnalyseQuestions(f.lines, f.records, TExportTable());
    ASSERT_EQ(a.tests.size(), 2u);
    EXPECT_EQ(a.withoutRecord, 2u) << "lines 7 and 9";
    const TTestAnalysis& t = a.tests[0];
    EXPECT_EQ(TableTitle(t), "Historia");
    EXPECT_EQ(t.exams, 6u);
    EXPECT_EQ(t.withoutRecord, 1u);
    EXPECT_EQ(t.lines, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_DOUBLE_EQ(*t.kr20, -0.3125);
    EXPECT_NEAR(*t.meanPoints, 14.0 / 6, 1e-12);
    EXPECT_NEAR(*t.deviationPoints, std::sqrt(6 - 196.0 / 36), 1e-12);
    EXPECT_NEAR(*t.meanPercent, 1400.0 / 36, 1e-9);

    struct TRowCase {
        char key;
        std::size_t shown, answered, right;
        std::array<std::size_t, 5> chosen;
        std::size_t typedTried, typedRight;
        double facility, discrimination;
        const char* notes;
    };
    const TRowCase cases[] = {
        {'A', 6, 5, 5, {5, 0, 0, 0, 0}, 0, 0, 100, 0.5, "za łatwe"},
        {'B', 6, 6, 2, {1, 2, 3, 0, 0}, 0, 0, 200.0 / 6, -0.5, "sprawdź klucz"},
        {'C', 5, 5, 3, {0, 1, 3, 1, 0}, 0, 0, 60, 1, ""},
        {'D', 6, 5, 2, {0, 0, 0, 1, 2}, 3, 1, 40, 1, ""},
        {'E', 6, 4, 0, {3, 1, 0, 0, 0}, 0, 0, 0, 0, "za trudne; sprawdź klucz"},
    };
    ASSERT_EQ(t.rows.size(), 5u);
    for (std::size_t q = 0; q < 5; ++q) {
        SCOPED_TRACE("question " + std::to_string(q + 1));
        const TQuestionRow& row = t.rows[q];
        const TRowCase& c = cases[q];
        EXPECT_EQ(row.question, int(q + 1));
        EXPECT_EQ(row.key, c.key);
        EXPECT_EQ(row.shown, c.shown);
        EXPECT_EQ(row.answered, c.answered);
        EXPECT_EQ(row.right, c.right);
        EXPECT_EQ(row.chosen, c.chosen);
        EXPECT_EQ(row.typedTried, c.typedTried);
        EXPECT_EQ(row.typedRight, c.typedRight);
        EXPECT_DOUBLE_EQ(*row.facility, c.facility);
        EXPECT_DOUBLE_EQ(*row.discrimination, c.discrimination);
        EXPECT_EQ(RowNotes(row), c.notes);
    }
    EXPECT_EQ(t.rows[4].start, "Która z dat | jest datą unii lubelskiej?");

    // One exam: no discrimination, no KR-20.
    const TTestAnalysis& biology = a.tests[1];
    EXPECT_EQ(biology.name, "Biologia");
    EXPECT_EQ(biology.exams, 1u);
    EXPECT_FALSE(biology.kr20 || biology.rows[0].discrimination);
    EXPECT_EQ(biology.deviationPoints, 0.0);
}

TEST(QuestionAnalysis, OnlyTheChosenLinesAndTheirRecordsCount) {
    const TFixture f = AnswersSmall();
    TExportFilter filter;
    filter.from = TDate{2026, 5, 5};
    filter.test = "Historia";
    const TQuestionAnalysis a = AnalyseQuestions(f.lines, f.records, TExportTable(), filter);
    ASSERT_EQ(a.tests.size(), 1u);
    EXPECT_EQ(a.withoutRecord, 0u);
    EXPECT_EQ(a.tests[0].exams, 3u);
    EXPECT_EQ(a.tests[0].rows[0].answered, 2u);

    // Without records: the count alone, in a table without rows.
    const TQuestionAnalysis none = AnalyseQuestions(f.lines, "", TExportTable(), filter);
    ASSERT_EQ(none.tests.size(), 1u);
    EXPECT_EQ(none.withoutRecord, 3u);
    EXPECT_EQ(none.tests[0].withoutRecord, 3u);
    EXPECT_FALSE(none.tests[0].hash);
    EXPECT_TRUE(none.tests[0].rows.empty());
}

TEST(QuestionAnalysis, EachVersionOfATestIsATableNamedByItsDays) {
    auto line = [](int k, const char* name, const char* day) {
        return std::to_string(k) + ". Użytkownik " + name +
               " przystąpił do egzaminu \"Fizyka\" o godzinie 10:00:00 dnia " + day +
               ".05.2026. Przewidywany czas egzaminu 10min. Liczba pytań 1. Maksymalna liczba "
               "punktów 1. Egzamin trwał 1 minut i 5 sekund. Zdobyto 1pkt. (100%) a stracono "
               "0pkt. Otrzymana ocena to: celujący.";
    };
    auto record = [](int k, const char* name, const char* day, const char* hash) {
        return "O1\t" + std::to_string(k) + "\tUżytkownik " + name +
               " przystąpił do egzaminu \"Fizyka\" o godzinie 10:00:00 dnia " + day +
               ".05.2026\tFizyka\t" + hash + "\t1\t1|A|Co?|A|-||1|0\r\n";
    };
    const auto lines = Parsed(
        {line(1, "Ala", "04"), line(2, "Ola", "06"), line(3, "Ela", "05"), line(4, "Iza", "06")});
    const std::string records =
        record(1, "Ala", "04", "00000000000000aa") + record(2, "Ola", "06", "00000000000000bb") +
        record(3, "Ela", "05", "00000000000000aa") + record(4, "Iza", "06", "00000000000000cc");
    const TQuestionAnalysis a = AnalyseQuestions(lines, records, TExportTable());
    ASSERT_EQ(a.tests.size(), 3u);
    EXPECT_EQ(TableTitle(a.tests[0]), "Fizyka (wersja z dni 04.05.2026 – 05.05.2026)");
    EXPECT_EQ(a.tests[0].exams, 2u);
    // Mended between two exams of one day: the days can't tell them apart.
    EXPECT_EQ(TableTitle(a.tests[1]), "Fizyka (wersja 2 z dnia 06.05.2026)");
    EXPECT_EQ(a.tests[1].hash, 0xbbu);
    EXPECT_EQ(TableTitle(a.tests[2]), "Fizyka (wersja 3 z dnia 06.05.2026)");
}

TEST(QuestionAnalysis, TextsOfCountsAndNumbers) {
    const std::pair<std::size_t, const char*> notes[] = {
        {1, "brak danych o pytaniach dla 1 egzaminu"},
        {2, "brak danych o pytaniach dla 2 egzaminów"},
        {5, "brak danych o pytaniach dla 5 egzaminów"},
        {22, "brak danych o pytaniach dla 22 egzaminów"},
    };
    for (const auto& [count, text] : notes)
        EXPECT_EQ(MissingDataNote(count), text);
    const std::tuple<double, int, const char*> numbers[] = {
        {72.25, 1, "72,3"},
        {-0.3125, 2, "-0,31"},
        {0.004, 2, "0,00"},
        {-0.004, 2, "0,00"},
        {5, 0, "5"},
        {0.5, 2, "0,50"},
        {1e20, 1, "100000000000000000000,0"},
    };
    for (const auto& [value, places, text] : numbers)
        EXPECT_EQ(DecimalText(value, places), text) << value;
}

} // namespace
} // namespace kwizmar
