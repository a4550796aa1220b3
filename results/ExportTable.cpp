#include "ExportTable.h"

#include "Cp1250.h"
#include "StrToInt.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace kwizmar {

namespace {

bool Digits(std::string_view s, std::size_t min, std::size_t max) {
    if (s.size() < min || s.size() > max)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

int Number(std::string_view digits) {
    int v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

TCell NumberCell(std::int64_t v) {
    TCell c;
    c.type = TCellType::Number;
    c.number = v;
    return c;
}

TCell TextCell(std::string text) {
    TCell c;
    c.type = TCellType::Text;
    c.text = std::move(text);
    return c;
}

// A header line as stored: a number where it reads as one ("004" is 4),
// else its text.
TCell StoredNumberCell(const std::string& text) {
    if (const auto v = TryStrToInt(text))
        return NumberCell(*v);
    return TextCell(text);
}

int Compare(const TDate& a, const TDate& b) {
    if (a.year != b.year)
        return a.year < b.year ? -1 : 1;
    if (a.month != b.month)
        return a.month < b.month ? -1 : 1;
    if (a.day != b.day)
        return a.day < b.day ? -1 : 1;
    return 0;
}

} // namespace

const std::array<const char*, kExportColumns>& ExportHeader() {
    static const std::array<const char*, kExportColumns> header = {
        "Nr",           "Imię",
        "Test",         "Data",
        "Godzina",      "Przewidywany czas (min)",
        "Liczba pytań", "Maksymalna liczba punktów",
        "Czas trwania", "Zdobyte punkty",
        "Procent",      "Stracone punkty",
        "Ocena",        "Wpis w innej postaci",
    };
    return header;
}

std::string DecimalText(double value, int places, std::string_view separator) {
    if (!std::isfinite(value))
        return "";
    long double scale = 1;
    for (int i = 0; i < places; ++i)
        scale *= 10;
    const long double scaled = std::round(static_cast<long double>(value) * scale);
    if (std::fabs(scaled) >= 1e18L) {
        // Beyond whole numbers of 64 bits: as the library writes it.
        char buffer[400];
        const auto [end, ec] =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places);
        std::string text(buffer, ec == std::errc() ? end : buffer);
        if (const std::size_t point = text.find('.'); point != std::string::npos)
            text.replace(point, 1, separator);
        return text;
    }
    std::string digits = std::to_string(static_cast<unsigned long long>(std::fabs(scaled)));
    if (digits.size() <= std::size_t(places))
        digits.insert(0, std::size_t(places) + 1 - digits.size(), '0');
    std::string text = scaled < 0 ? "-" : "";
    text += digits.substr(0, digits.size() - std::size_t(places));
    if (places > 0) {
        text += separator;
        text += digits.substr(digits.size() - std::size_t(places));
    }
    return text;
}

std::optional<TTime> ParseTimeText(std::string_view text) {
    std::optional<bool> afternoon;
    if (const std::size_t blank = text.find(' '); blank != std::string_view::npos) {
        const std::string_view mark = text.substr(blank + 1);
        if (EqualNoCase(mark, "AM"))
            afternoon = false;
        else if (EqualNoCase(mark, "PM"))
            afternoon = true;
        else
            return std::nullopt;
        text = text.substr(0, blank);
    }
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t second = text.find(':', first + 1);
    const std::string_view h = text.substr(0, first);
    const std::string_view m = text.substr(
        first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
    const std::string_view s =
        second == std::string_view::npos ? std::string_view("0") : text.substr(second + 1);
    if (!Digits(h, 1, 2) || !Digits(m, 2, 2) || !Digits(s, 1, 2))
        return std::nullopt;
    TTime t{Number(h), Number(m), Number(s)};
    if (afternoon) {
        if (t.hour < 1 || t.hour > 12)
            return std::nullopt;
        t.hour = t.hour % 12 + (*afternoon ? 12 : 0);
    }
    if (t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    return t;
}

TExportTable::TExportTable(std::string shortDateFormat)
    : formats_{std::move(shortDateFormat), kPolishShortDateFormat, "yyyy-MM-dd"} {}

std::optional<TDate> TExportTable::StartDate(const TResultFields& fields) const {
    for (const std::string& format : formats_)
        if (auto date = ParseShortDate(fields.startDate, format))
            return date;
    return std::nullopt;
}

bool TExportTable::Matches(const TResultLine& line, const TExportFilter& filter) const {
    if (!filter.Any())
        return true;
    if (!line.fields)
        return false;
    const TResultFields& f = *line.fields;
    if (filter.test && *filter.test != TestTitle(f) && *filter.test != f.testName)
        return false;
    if (filter.from || filter.to) {
        const auto date = StartDate(f);
        if (!date || (filter.from && Compare(*date, *filter.from) < 0) ||
            (filter.to && Compare(*date, *filter.to) > 0))
            return false;
    }
    return true;
}

std::array<TCell, kExportColumns> TExportTable::Row(const TResultLine& line) const {
    std::array<TCell, kExportColumns> row;
    if (!line.fields) {
        row.back() = TextCell(line.raw);
        return row;
    }
    const TResultFields& f = *line.fields;
    const TExamResult& r = f.result;
    row[0] = NumberCell(f.number);
    row[1] = TextCell(f.userName);
    row[2] = TextCell(TestTitle(f));
    if (const auto date = StartDate(f)) {
        row[3].type = TCellType::Date;
        row[3].date = *date;
    } else {
        row[3] = TextCell(f.startDate);
    }
    if (const auto time = ParseTimeText(f.startTime)) {
        row[4].type = TCellType::Time;
        row[4].time = *time;
    } else {
        row[4] = TextCell(f.startTime);
    }
    row[5] = NumberCell(f.minutesAllowed);
    row[6] = StoredNumberCell(f.questionCount);
    row[7] = StoredNumberCell(f.maxPoints);
    // "7 minut i 60 sekund" is eight minutes: the clock counts the seconds
    // 1 … 60.
    const std::int64_t seconds = r.elapsedMinutes * 60 + r.elapsedSeconds;
    if (r.elapsedMinutes >= 0 && r.elapsedSeconds >= 0 && r.elapsedMinutes < 1'000'000) {
        row[8].type = TCellType::Duration;
        row[8].number = seconds;
    } else {
        row[8] = TextCell(DurationText(r));
    }
    row[9] = NumberCell(r.pointsGained);
    if (r.percentShown)
        row[10] = NumberCell(*r.percentShown);
    row[11] = NumberCell(r.pointsLost);
    row[12] = TextCell(GradeText(r));
    return row;
}

std::size_t ShownLength(const TCell& cell) {
    switch (cell.type) {
    case TCellType::Empty:
        return 0;
    case TCellType::Number:
        return std::to_string(cell.number).size();
    case TCellType::Text:
        return CodePointCount(cell.text);
    case TCellType::Date:
        return 10;
    case TCellType::Time:
        return 8;
    case TCellType::Duration:
        // The hours, then ":mm:ss".
        return std::to_string(cell.number / 3600).size() + 6;
    case TCellType::Real:
        // As DecimalText writes it.
        return DecimalText(cell.real, int(cell.number)).size();
    }
    return 0;
}

TColumnWidths::TColumnWidths()
    : TColumnWidths(std::vector<std::string>(ExportHeader().begin(), ExportHeader().end())) {}

TColumnWidths::TColumnWidths(std::vector<std::string> header)
    : header_(std::move(header)), longest_(header_.size()) {}

void TColumnWidths::Fit(std::span<const TCell> row) {
    for (std::size_t c = 0; c < row.size() && c < longest_.size(); ++c)
        longest_[c] = std::max(longest_[c], ShownLength(row[c]));
}

double TColumnWidths::Width(std::size_t column) const {
    // Bold letters are a tenth wider; the autofilter's button takes two
    // characters' room beside the header.
    const double header = std::ceil(CodePointCount(header_[column]) * 1.1) + 3;
    const double value = static_cast<double>(longest_[column]) + 2;
    return std::min(std::max(header, value), kMaxColumnWidth);
}

} // namespace kwizmar
