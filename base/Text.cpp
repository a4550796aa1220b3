#include "Text.h"

#include <algorithm>

namespace kwizmar {

namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

std::string_view TrimLeft(std::string_view s, std::string_view chars) {
    const std::size_t first = s.find_first_not_of(chars);
    return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

std::string_view TrimRight(std::string_view s, std::string_view chars) {
    const std::size_t last = s.find_last_not_of(chars);
    return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

std::string_view Trim(std::string_view s, std::string_view chars) {
    return TrimRight(TrimLeft(s, chars), chars);
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::string AsciiLowerCase(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), AsciiLower);
    return out;
}

std::vector<std::string_view> SplitLines(std::string_view text, bool* finalBreak) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    if (finalBreak)
        *finalBreak = start == text.size() && !lines.empty();
    return lines;
}

const char* PolishPlural(long long n, const char* one, const char* few, const char* many) {
    const long long a = n < 0 ? -n : n;
    if (a == 1)
        return one;
    const long long tens = a % 100, units = a % 10;
    return units >= 2 && units <= 4 && (tens < 12 || tens > 14) ? few : many;
}

} // namespace kwizmar
