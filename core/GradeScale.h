#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kwizmar {

// A share of the maximum points in percent, kept as an exact fraction so that
// the grade boundaries compare exactly: 179 of 200 is 17900/200, i.e. 89.5 %.
class TExactPercent {
public:
    // pointsGained × 100 ÷ maxPoints. Nothing for a maximum of 0, where there
    // is no share to speak of.
    static std::optional<TExactPercent> Of(std::int64_t pointsGained, std::int64_t maxPoints);

    // Truncated toward zero: 29 of 100 gives 29, 2 of 3 gives 66, -1 of 3 gives -33.
    std::int64_t Truncated() const { return numerator_ / denominator_; }
    // Three-way comparisons with a whole percent.
    bool AtLeast(std::int64_t whole) const { return numerator_ >= whole * denominator_; }
    bool Below(std::int64_t whole) const { return numerator_ < whole * denominator_; }
    bool AtMost(std::int64_t whole) const { return numerator_ <= whole * denominator_; }
    bool Above(std::int64_t whole) const { return numerator_ > whole * denominator_; }

private:
    TExactPercent(std::int64_t numerator, std::int64_t denominator)
        : numerator_(numerator), denominator_(denominator) {}
    std::int64_t numerator_;
    std::int64_t denominator_; // always positive
};

// The seven grades of the Polish school scale over the exact percentage; the
// first row whose interval holds the percentage gives the grade.
class TGradeScale {
public:
    struct TRow {
        const char* grade;
        int lower;           // whole percent
        bool lowerInclusive; // false only for "celujący" (more than 100 %)
        int upper;           // whole percent, -1: no upper bound
        bool upperInclusive; // true only for "bardzo dobry" (100 % itself)
    };
    static const std::array<TRow, 7>& Rows();

    // The grade of a percentage; nothing below 0 %, where no row matches.
    static std::optional<std::string> Lookup(const TExactPercent& percent);
};

// The nine lines of the grade-scale panel that "Oceny" shows. The panel is only
// a display; its "0% ÷ 45%" line is older than the rule above, under which 45 %
// already is "mierny".
const std::array<const char*, 9>& GradeScaleLines();
// Those lines joined by "\n", as the panel shows them.
std::string GradeScaleText();

// The rule as the test editor explains it to the teacher: "Procent to
// zdobyte punkty × 100 ÷ maksimum; od niego zależy ocena (90% bardzo dobry,
// ponad 100% celujący)." The grades and their bounds are the rows' own.
std::string GradeRuleText();

} // namespace kwizmar
