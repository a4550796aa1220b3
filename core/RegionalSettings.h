#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kwizmar {

struct TDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const TDate&) const = default;
};

struct TTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const TTime&) const = default;
};

// The user's regional settings, as far as the program uses them. Formats use
// the pattern letters d, M, y for dates and h/H, m, s, AP/ap for times; text
// in single quotes is literal.
class IRegionalSettings {
public:
    virtual ~IRegionalSettings() = default;
    virtual std::string ShortDateFormat() const = 0;
    virtual std::string LongTimeFormat() const = 0;
};

// The formats used where the system has no regional setting of its own. The
// date format is also the one test files carry their creation date in.
inline constexpr const char* kPolishShortDateFormat = "dd.MM.yyyy";
inline constexpr const char* kPolishLongTimeFormat = "HH:mm:ss";

// Reads a date the way the system reads one typed in its short date format:
// day, month and year in the format's order, separated by the format's
// separator, day and month of one or two digits, the year of two or four
// (two digits mean 1950 … 2049), blanks allowed around the whole. Returns
// nothing for any other text or an impossible date (31.04., 29.02. of a
// common year).
std::optional<TDate> ParseShortDate(std::string_view text, std::string_view shortDateFormat);

// Formats a date or time with a pattern of the kind described above.
std::string FormatDate(const TDate& date, std::string_view format);
std::string FormatTime(const TTime& time, std::string_view format);

} // namespace kwizmar
