#include "ClassSummary.h"

#include "GradeScale.h"
#include "StrToInt.h"

#include <algorithm>
#include <cmath>

namespace kwizmar {

std::vector<std::string> TestsInLog(const std::vector<TResultLine>& lines) {
    std::vector<std::string> tests;
    for (const TResultLine& line : lines) {
        if (!line.fields)
            continue;
        std::string title = TestTitle(*line.fields);
        if (std::find(tests.begin(), tests.end(), title) == tests.end())
            tests.push_back(std::move(title));
    }
    return tests;
}

TClassSummary SummarizeClass(const std::vector<TResultLine>& lines, const TExportTable& table,
                             const TExportFilter& filter) {
    TClassSummary s;
    std::vector<double> exact;
    std::vector<std::int64_t> percents;
    const auto& rows = TGradeScale::Rows();
    for (const TResultLine& line : lines) {
        if (!line.fields || !table.Matches(line, filter))
            continue;
        const TExamResult& r = line.fields->result;
        const std::optional<int> max = TryStrToInt(line.fields->maxPoints);
        s.exams.push_back({line.fields->userName, GradeText(r), r.percentShown, r.pointsGained,
                           max});
        if (r.percentShown) {
            percents.push_back(*r.percentShown);
            exact.push_back(max && *max > 0 ? double(r.pointsGained) * 100 / *max
                                            : double(*r.percentShown));
        }
        for (std::size_t g = 0; g < rows.size(); ++g)
            if (r.grade && *r.grade == rows[g].grade)
                ++s.grades[g];
    }
    if (percents.empty())
        return s;
    std::sort(percents.begin(), percents.end());
    std::sort(exact.begin(), exact.end());
    double sum = 0;
    for (const double p : exact)
        sum += p;
    const std::size_t n = exact.size();
    s.mean = sum / double(n);
    s.median = n % 2 ? exact[n / 2] : (exact[n / 2 - 1] + exact[n / 2]) / 2;
    s.lowest = percents.front();
    s.highest = percents.back();
    return s;
}

std::string ExamLine(const TClassSummary::TExam& exam) {
    std::string line = exam.userName + " — " + std::to_string(exam.pointsGained);
    if (exam.maxPoints)
        line += "/" + std::to_string(*exam.maxPoints);
    line += " pkt";
    if (exam.percent)
        line += ", " + std::to_string(*exam.percent) + "%";
    return line + " — " + exam.grade;
}

std::string PolishNumber(double value) {
    const double tenths = std::round(value * 10);
    const bool negative = tenths < 0;
    const auto magnitude = static_cast<std::int64_t>(std::fabs(tenths));
    std::string text;
    if (negative)
        text += '-';
    text += std::to_string(magnitude / 10);
    if (magnitude % 10) {
        text += ',';
        text += char('0' + magnitude % 10);
    }
    return text;
}

} // namespace kwizmar
