#include "ClassSummary.h"

#include "GradeScale.h"

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
    std::vector<std::int64_t> percents;
    const auto& rows = TGradeScale::Rows();
    for (const TResultLine& line : lines) {
        if (!line.fields || !table.Matches(line, filter))
            continue;
        const TExamResult& r = line.fields->result;
        s.exams.push_back({line.fields->userName, GradeText(r), r.percentShown});
        if (r.percentShown)
            percents.push_back(*r.percentShown);
        for (std::size_t g = 0; g < rows.size(); ++g)
            if (r.grade && *r.grade == rows[g].grade)
                ++s.grades[g];
    }
    if (percents.empty())
        return s;
    std::sort(percents.begin(), percents.end());
    double sum = 0;
    for (std::int64_t p : percents)
        sum += double(p);
    const std::size_t n = percents.size();
    s.mean = sum / double(n);
    s.median = n % 2 ? double(percents[n / 2])
                     : (double(percents[n / 2 - 1]) + double(percents[n / 2])) / 2;
    s.lowest = percents.front();
    s.highest = percents.back();
    return s;
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
