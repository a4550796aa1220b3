#pragma once

#include "ExamState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kwizmar {

// The summary of a finished exam, computed from the exam state as it stands
// at the finish.
struct TExamResult {
    // minutesAllowed - minutesLeft - 1 and 60 - secondsLeft: the seconds run
    // 1 … 60, so a whole number of minutes reads as one minute less and 60
    // seconds.
    std::int64_t elapsedMinutes = 0;
    int elapsedSeconds = 0;
    std::int64_t pointsGained = 0;
    std::int64_t pointsLost = 0;
    // pointsGained × 100 ÷ maxPoints truncated toward zero; nothing when the
    // test has a maximum of 0 points.
    std::optional<std::int64_t> percentShown;
    // From the exact percentage; nothing below 0 % or with a maximum of 0.
    std::optional<std::string> grade;

    bool operator==(const TExamResult&) const = default;
};

TExamResult ComputeExamResult(const TExamState& state);

// Shown (and logged) in place of a grade the scale doesn't give, and in place
// of the percentage of a test without points to gain.
inline constexpr const char* kNoGradeText = "brak oceny";
inline constexpr const char* kNoPercentText = "—";

// "Egzamin trwał 7 minut i 12 sekund"
std::string DurationText(const TExamResult& result);
std::string PercentText(const TExamResult& result);
std::string GradeText(const TExamResult& result);

// The six lines of the summary page, RxLabel5 … RxLabel10. `maxPointsText` is
// the maximum as Label19 shows it, the test header's line as it stands ("004"
// stays "004"); the percentage in `result` comes from its value.
std::array<std::string, 6> SummaryLines(const std::string& userName,
                                        const std::string& maxPointsText,
                                        const TExamResult& result);

// The result line without its number: the banner text without its first 8
// characters ("***     "), then the duration, the points, the percentage and
// the grade.
std::string ResultLineText(const std::string& headerText, const TExamResult& result);

} // namespace kwizmar
