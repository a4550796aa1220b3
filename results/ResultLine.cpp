#include "ResultLine.h"

#include "Banner.h"
#include "GradeScale.h"

#include <charconv>
#include <vector>

namespace kwizmar {

namespace {

// A number exactly as std::to_string writes it: no plus sign, no leading
// zeros, no blanks; anything else is not the finish's.
template <typename T> bool ReadNumber(std::string_view text, T& value) {
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && std::to_string(value) == text;
}

// The last `marker` in `text`. The library's rfind compares the whole marker
// at every place; a log of many lines is read quicker by its first byte.
std::size_t FindLast(std::string_view text, std::string_view marker) {
    if (marker.empty() || marker.size() > text.size())
        return std::string_view::npos;
    for (std::size_t at = text.size() - marker.size() + 1; at-- > 0;)
        if (text[at] == marker[0] && text.compare(at, marker.size(), marker) == 0)
            return at;
    return std::string_view::npos;
}

// Splits `text` at the last `marker`: what is before and what is after it.
bool SplitLast(std::string_view text, std::string_view marker, std::string_view& before,
               std::string_view& after) {
    const std::size_t at = FindLast(text, marker);
    if (at == std::string_view::npos)
        return false;
    before = text.substr(0, at);
    after = text.substr(at + marker.size());
    return true;
}

bool CutSuffix(std::string_view& text, std::string_view suffix) {
    if (!text.ends_with(suffix))
        return false;
    text.remove_suffix(suffix.size());
    return true;
}

bool Quoted(std::string_view text) {
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

std::optional<std::string> GradeOf(std::string_view text) {
    if (text == kNoGradeText)
        return std::nullopt;
    return std::string(text);
}

bool KnownGrade(std::string_view text) {
    if (text == kNoGradeText)
        return true;
    for (const TGradeScale::TRow& row : TGradeScale::Rows())
        if (text == row.grade)
            return true;
    return false;
}

// "<name> przystąpił do egzaminu <test>": where the marker is found more than
// once, the one split whose test part is in double quotes.
bool SplitNameAndTest(std::string_view text, TResultFields& f) {
    constexpr std::string_view kMarker = " przystąpił do egzaminu ";
    std::vector<std::size_t> splits;
    for (std::size_t at = text.find(kMarker); at != std::string_view::npos;
         at = text.find(kMarker, at + 1))
        splits.push_back(at);
    if (splits.size() > 1) {
        std::vector<std::size_t> quoted;
        for (std::size_t at : splits)
            if (Quoted(text.substr(at + kMarker.size())))
                quoted.push_back(at);
        splits = quoted;
    }
    if (splits.size() != 1)
        return false;
    f.userName = text.substr(0, splits[0]);
    f.testName = text.substr(splits[0] + kMarker.size());
    return true;
}

bool ParseFields(std::string_view line, TResultFields& f) {
    std::string_view head, rest;
    const std::size_t dot = line.find(". Użytkownik ");
    if (dot == std::string_view::npos || !ReadNumber(line.substr(0, dot), f.number))
        return false;
    rest = line.substr(dot + std::string_view(". Użytkownik ").size());

    // From the end, where every part is the program's own.
    std::string_view part;
    if (!CutSuffix(rest, ".") || !SplitLast(rest, "pkt. Otrzymana ocena to: ", rest, part) ||
        !KnownGrade(part))
        return false;
    f.result.grade = GradeOf(part);
    if (!SplitLast(rest, "%) a stracono ", rest, part) || !ReadNumber(part, f.result.pointsLost))
        return false;
    if (!SplitLast(rest, "pkt. (", rest, part))
        return false;
    if (part == kNoPercentText) {
        f.result.percentShown.reset();
    } else {
        std::int64_t percent = 0;
        if (!ReadNumber(part, percent))
            return false;
        f.result.percentShown = percent;
    }
    if (!SplitLast(rest, ". Zdobyto ", rest, part) || !ReadNumber(part, f.result.pointsGained))
        return false;
    std::string_view minutes, seconds;
    if (!SplitLast(rest, ". Egzamin trwał ", rest, part) || !CutSuffix(part, " sekund") ||
        !SplitLast(part, " minut i ", minutes, seconds) ||
        !ReadNumber(minutes, f.result.elapsedMinutes) ||
        !ReadNumber(seconds, f.result.elapsedSeconds))
        return false;
    if (!SplitLast(rest, ". Maksymalna liczba punktów ", rest, part))
        return false;
    f.maxPoints = part;
    if (!SplitLast(rest, ". Liczba pytań ", rest, part))
        return false;
    f.questionCount = part;
    if (!SplitLast(rest, ". Przewidywany czas egzaminu ", rest, part) || !CutSuffix(part, "min") ||
        !ReadNumber(part, f.minutesAllowed))
        return false;
    if (!SplitLast(rest, " dnia ", rest, part))
        return false;
    f.startDate = part;
    if (!SplitLast(rest, " o godzinie ", head, part))
        return false;
    f.startTime = part;
    return SplitNameAndTest(head, f);
}

} // namespace

TResultLine ParseResultLine(std::string_view line) {
    TResultLine parsed{std::string(line), std::nullopt};
    // Every part is cut at the finish's own words and every number must read
    // back as written, so a line with fields is exactly what FormatResultLine
    // makes of them (the fuzz target of the results log holds it to that).
    TResultFields fields;
    if (ParseFields(line, fields))
        parsed.fields = std::move(fields);
    return parsed;
}

std::string FormatResultLine(const TResultFields& f) {
    const std::string header = HeaderText(f.userName, f.testName, f.startTime, f.startDate,
                                          f.minutesAllowed, f.questionCount, f.maxPoints);
    return std::to_string(f.number) + ". " + ResultLineText(header, f.result);
}

std::string TestTitle(const TResultFields& f) {
    if (Quoted(f.testName))
        return f.testName.substr(1, f.testName.size() - 2);
    return f.testName;
}

} // namespace kwizmar
