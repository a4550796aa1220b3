#include "Cp1250.h"
#include "ExportCsv.h"
#include "ExportTable.h"
#include "ResultsLogFormat.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kwizmar {
namespace {

const std::string kData = KWIZMAR_SOURCE_DIR "/tests/data/export-small/";

std::vector<TResultLine> SmallLog() {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(kData + "MSStr32.dll", bytes));
    std::vector<TResultLine> lines;
    for (const std::string& line : ParseLog(bytes))
        lines.push_back(ParseResultLine(line));
    return lines;
}

// A line in Polish settings with odd characters in the name, one written
// under English settings with no points to gain, and one edited by hand.
TEST(ExportCsv, WritesTheSmallLogAsExpected) {
    std::string expected;
    ASSERT_TRUE(ReadWholeFile(kData + "wyniki.csv", expected));
    EXPECT_EQ(ExportCsv(SmallLog(), TExportTable("M/d/yy")), expected);
}

// A name or a hand-edited line that a spreadsheet would run as a formula is
// written so that it stays text.
TEST(ExportCsv, TextASpreadsheetWouldRunAsAFormulaStaysText) {
    const std::vector<TResultLine> lines = {
        ParseResultLine("1. Użytkownik -2+3 przystąpił do egzaminu \"Zero\" o godzinie 10:15:00 "
                        "dnia 06.05.2002. Przewidywany czas egzaminu 5min. Liczba pytań 1. "
                        "Maksymalna liczba punktów 1. Egzamin trwał 0 minut i 1 sekund. Zdobyto "
                        "1pkt. (100%) a stracono 0pkt. Otrzymana ocena to: celujący."),
        ParseResultLine("=HYPERLINK(\"http://example.com\")"),
    };
    ASSERT_TRUE(lines[0].fields.has_value());
    ASSERT_FALSE(lines[1].fields.has_value());
    const std::string csv = ExportCsv(lines, TExportTable("dd.MM.yyyy"));
    EXPECT_NE(csv.find("\"'-2+3\""), std::string::npos) << csv;
    EXPECT_NE(csv.find("\"'=HYPERLINK(\"\"http://example.com\"\")\""), std::string::npos) << csv;
}

TExportFilter Filter(const char* test, std::optional<TDate> from, std::optional<TDate> to) {
    TExportFilter filter;
    if (test)
        filter.test = test;
    filter.from = from;
    filter.to = to;
    return filter;
}

TEST(ExportTable, FiltersByTestAndDateRange) {
    const std::vector<TResultLine> lines = SmallLog();
    const TExportTable table("M/d/yy");
    const TDate may5{2002, 5, 5}, may6{2002, 5, 6}, may7{2002, 5, 7};
    const std::vector<std::pair<TExportFilter, std::vector<bool>>> cases = {
        {Filter(nullptr, {}, {}), {true, true, true}},
        {Filter("Geografia Polski", {}, {}), {true, false, false}},
        {Filter("\"Zero\"", {}, {}), {false, true, false}},
        {Filter(nullptr, may6, may6), {true, true, false}},
        {Filter(nullptr, may7, {}), {false, false, false}},
        {Filter(nullptr, {}, may5), {false, false, false}},
    };
    for (std::size_t c = 0; c < cases.size(); ++c)
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(table.Matches(lines[i], cases[c].first), cases[c].second[i])
                << "case " << c << ", line " << i;
}

TEST(ExportTable, ReadsTimesOfDayOnly) {
    const std::vector<std::pair<std::string, std::optional<TTime>>> cases = {
        {"10:15:00", TTime{10, 15, 0}},
        {"9:05", TTime{9, 5, 0}},
        {"12:00:01 AM", TTime{0, 0, 1}},
        {"3:05:09 pm", TTime{15, 5, 9}},
        {"24:00:00", std::nullopt},
        {"10:5:00", std::nullopt},
        {"13:00:00 PM", std::nullopt},
        {"10.15.00", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, time] : cases)
        EXPECT_EQ(ParseTimeText(text), time) << text;
}

TCell Cell(TCellType type, std::int64_t number, std::string text = {}) {
    TCell cell;
    cell.type = type;
    cell.number = number;
    cell.text = std::move(text);
    return cell;
}

TEST(ExportTable, ShownLengthCountsCharactersAsTheSpreadsheetShowsThem) {
    EXPECT_EQ(ShownLength(Cell(TCellType::Number, -705)), 4u);
    EXPECT_EQ(ShownLength(Cell(TCellType::Text, 0, "Zażółć gęślą")), 12u);
    EXPECT_EQ(ShownLength(Cell(TCellType::Duration, 480)), 7u);        // 0:08:00
    EXPECT_EQ(ShownLength(Cell(TCellType::Duration, 100 * 3600)), 9u); // 100:00:00
}

TEST(ExportTable, ColumnsFitTheirHeaderAndTheLongestValueUpToAScreen) {
    TColumnWidths widths;
    for (std::size_t c = 0; c < kExportColumns; ++c)
        EXPECT_GT(widths.Width(c), CodePointCount(ExportHeader()[c])) << ExportHeader()[c];
    std::array<TCell, kExportColumns> row;
    row[1] = Cell(TCellType::Text, 0, "Małgorzata Żółkiewska-Gęślak"); // 28 characters
    row.back() = Cell(TCellType::Text, 0, std::string(500, 'x'));
    widths.Fit(row);
    EXPECT_GT(widths.Width(1), 28);
    EXPECT_LT(widths.Width(1), 28 + 5);
    EXPECT_EQ(widths.Width(kExportColumns - 1), kMaxColumnWidth);
}

} // namespace
} // namespace kwizmar
