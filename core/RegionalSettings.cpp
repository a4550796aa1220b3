#include "RegionalSettings.h"

#include "Text.h"

#include <array>
#include <cctype>
#include <vector>

namespace kwizmar {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kDays[static_cast<std::size_t>(month - 1)];
}

// The order of the three date parts and their separator, taken from a short
// date format such as "dd.MM.yyyy", "M/d/yy" or "yyyy-MM-dd".
struct TDateLayout {
    std::array<char, 3> order{'d', 'M', 'y'};
    char separator = '.';
};

TDateLayout LayoutOf(std::string_view format) {
    TDateLayout layout;
    std::vector<char> seen;
    bool separatorFound = false;
    bool quoted = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        if (c == 'd' || c == 'M' || c == 'y') {
            bool known = false;
            for (char s : seen)
                known = known || s == c;
            if (!known)
                seen.push_back(c);
        } else if (!separatorFound && !seen.empty() &&
                   !std::isalpha(static_cast<unsigned char>(c)) && c != ' ') {
            layout.separator = c;
            separatorFound = true;
        }
    }
    if (seen.size() == 3)
        layout.order = {seen[0], seen[1], seen[2]};
    return layout;
}

bool AllDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

int ToNumber(std::string_view digits) {
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

std::string Padded(int value, int width) {
    std::string s = std::to_string(value);
    while (static_cast<int>(s.size()) < width)
        s.insert(s.begin(), '0');
    return s;
}

// Expands a pattern: `field` gives the text for a run of one pattern letter.
template <typename Field>
std::string Expand(std::string_view format, std::string_view letters, Field field) {
    std::string out;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c == '\'') {
            const std::size_t end = format.find('\'', i + 1);
            if (end == i + 1) {
                out += '\'';
            } else {
                out += format.substr(i + 1, end == std::string_view::npos ? std::string_view::npos
                                                                          : end - i - 1);
            }
            i = end == std::string_view::npos ? format.size() : end + 1;
            continue;
        }
        if ((c == 'A' || c == 'a') && i + 1 < format.size() &&
            (format[i + 1] == 'P' || format[i + 1] == 'p') &&
            letters.find('A') != std::string_view::npos) {
            out += field('A', c == 'A' ? 1 : 2);
            i += 2;
            continue;
        }
        if (letters.find(c) == std::string_view::npos) {
            out += c;
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        out += field(c, static_cast<int>(run));
        i += run;
    }
    return out;
}

} // namespace

std::optional<TDate> ParseShortDate(std::string_view text, std::string_view shortDateFormat) {
    const TDateLayout layout = LayoutOf(shortDateFormat);
    text = Trim(text, " ");
    std::array<std::string_view, 3> parts;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t sep = text.find(layout.separator);
        if (i < 2) {
            if (sep == std::string_view::npos)
                return std::nullopt;
            parts[i] = text.substr(0, sep);
            text.remove_prefix(sep + 1);
        } else {
            if (sep != std::string_view::npos)
                return std::nullopt;
            parts[i] = text;
        }
    }
    TDate date;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string_view part = parts[i];
        // No field has more than four digits; a longer one is no date, and
        // is refused before it could outgrow the int it is read into.
        if (!AllDigits(part) || part.size() > 4)
            return std::nullopt;
        const int value = ToNumber(part);
        switch (layout.order[i]) {
        case 'd':
            if (part.size() > 2)
                return std::nullopt;
            date.day = value;
            break;
        case 'M':
            if (part.size() > 2)
                return std::nullopt;
            date.month = value;
            break;
        default:
            if (part.size() == 2)
                date.year = value < 50 ? 2000 + value : 1900 + value;
            else if (part.size() == 4)
                date.year = value;
            else
                return std::nullopt;
            break;
        }
    }
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

std::string FormatDate(const TDate& date, std::string_view format) {
    return Expand(format, "dMy", [&](char letter, int run) -> std::string {
        switch (letter) {
        case 'd':
            return Padded(date.day, run >= 2 ? 2 : 1);
        case 'M':
            return Padded(date.month, run >= 2 ? 2 : 1);
        default:
            return run <= 2 ? Padded(date.year % 100, 2) : Padded(date.year, 4);
        }
    });
}

std::string FormatTime(const TTime& time, std::string_view format) {
    const bool twelveHour =
        format.find("AP") != std::string_view::npos || format.find("ap") != std::string_view::npos;
    return Expand(format, "hHmsA", [&](char letter, int run) -> std::string {
        const int width = run >= 2 ? 2 : 1;
        switch (letter) {
        case 'h': {
            int hour = time.hour;
            if (twelveHour) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            return Padded(hour, width);
        }
        case 'H':
            return Padded(time.hour, width);
        case 'm':
            return Padded(time.minute, width);
        case 's':
            return Padded(time.second, width);
        default:
            if (run == 1)
                return time.hour < 12 ? "AM" : "PM";
            return time.hour < 12 ? "am" : "pm";
        }
    });
}

} // namespace kwizmar
