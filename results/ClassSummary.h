#pragma once

#include "ExportTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How a class did in one test: the figures and the grades of the exams in a
// range of dates, from the lines of the results log.

namespace kwizmar {

struct TClassSummary {
    struct TExam {
        std::string userName;
        std::string grade; // as logged ("brak oceny" where the scale gave none)
        std::optional<std::int64_t> percent; // as logged, a whole number
        std::int64_t pointsGained = 0;
        std::optional<int> maxPoints; // where the line's maximum reads as a number
    };

    std::vector<TExam> exams; // in the log's order
    // Over the exams with a percentage (a test of 0 points has none); nothing
    // when there is none. The mean and the median from each exam's exact
    // share (points gained × 100 ÷ maximum), not the whole percentage the
    // line shows, so that four exams of 11/11, 5/11, 4/11 and 11/11 average
    // 70,45 %.
    std::optional<double> mean, median;
    std::optional<std::int64_t> lowest, highest;
    // How many exams got each grade, in the scale's order, "niedostateczny"
    // first; an exam without a grade counts in none.
    std::array<std::size_t, 7> grades{};
};

// The names of the tests in the lines (without their double quotes), each
// once, in the order of their first exam.
std::vector<std::string> TestsInLog(const std::vector<TResultLine>& lines);

// The exams the filter lets through (lines without fields never count).
TClassSummary SummarizeClass(const std::vector<TResultLine>& lines, const TExportTable& table,
                             const TExportFilter& filter);

// One exam as the class summary's printout lists it:
// "Ala — 9/20 pkt, 45% — mierny".
std::string ExamLine(const TClassSummary::TExam& exam);

// A share in percent as a Polish reader writes it: "72", "72,5" (one decimal
// place, rounded half away from zero; no ",0").
std::string PolishNumber(double value);

} // namespace kwizmar
