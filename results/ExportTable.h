#pragma once

#include "RegionalSettings.h"
#include "ResultLine.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The results log as a table for spreadsheets: one row per line, each cell
// with its type, so that a spreadsheet can sort and sum the numbers and the
// dates. The CSV and XLSX writers write the same table.

namespace kwizmar {

enum class TCellType {
    Empty,
    Number, // a whole number
    Text,
    Date,     // day, month, year
    Time,     // a time of day
    Duration, // minutes and seconds, as a length of time
    Real,     // a number with decimal places
};

struct TCell {
    TCellType type = TCellType::Empty;
    std::int64_t number = 0; // Number; Duration: in seconds; Real: its decimal places
    std::string text;        // Text
    TDate date;
    TTime time;
    double real = 0; // Real
};

// Which lines to export: those of one test (by its name, with or without its
// double quotes) and those started within a range of dates, both ends
// included. A line kept whole (without fields) only goes with no filter set:
// nothing in it can be told for sure.
struct TExportFilter {
    std::optional<std::string> test;
    std::optional<TDate> from, to;
    bool Any() const { return test || from || to; }
};

inline constexpr std::size_t kExportColumns = 14;

// The header row, in Polish.
const std::array<const char*, kExportColumns>& ExportHeader();

// The start dates of the log were written in the short date format of the
// computer that wrote them: the given format is tried first, then the Polish
// "dd.MM.yyyy" and "yyyy-MM-dd". A date none reads stays text.
class TExportTable {
public:
    explicit TExportTable(std::string shortDateFormat = kPolishShortDateFormat);

    // The date of a line's start, when one of the formats reads it.
    std::optional<TDate> StartDate(const TResultFields& fields) const;
    bool Matches(const TResultLine& line, const TExportFilter& filter) const;
    // The cells of one line. A line without fields has its text in the last
    // column and nothing in the others.
    std::array<TCell, kExportColumns> Row(const TResultLine& line) const;

private:
    std::vector<std::string> formats_;
};

// How many characters a spreadsheet shows of a cell: a text's characters, a
// number's digits, a date as dd.mm.yyyy, a time as hh:mm:ss, a length of time
// as [h]:mm:ss, a real number with its decimal places.
std::size_t ShownLength(const TCell& cell);

// The widest a column gets, in characters: a line kept whole can run to a
// screen's width and more.
inline constexpr double kMaxColumnWidth = 60;

// The columns' widths in characters as spreadsheets count them (the width of
// a digit), so that the header and every value written show whole, also on
// paper: the header's, bold and beside the autofilter's button, or the
// longest value's, whichever is wider, with a little room; at most
// kMaxColumnWidth. The header is the results' unless another is given.
class TColumnWidths {
public:
    TColumnWidths();
    explicit TColumnWidths(std::vector<std::string> header);
    void Fit(std::span<const TCell> row);
    double Width(std::size_t column) const;

private:
    std::vector<std::string> header_;
    std::vector<std::size_t> longest_;
};

// `value` with `places` decimal places (rounded half away from zero) and
// `separator` before them: "72,5", "-0,25".
std::string DecimalText(double value, int places, std::string_view separator = ",");

// "10:15:00", "3:05:09 PM": hours, minutes, optional seconds, and an
// optional AM/PM mark; nothing for any other text.
std::optional<TTime> ParseTimeText(std::string_view text);

} // namespace kwizmar
