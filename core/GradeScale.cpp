#include "GradeScale.h"

namespace kwizmar {

std::optional<TExactPercent> TExactPercent::Of(std::int64_t pointsGained, std::int64_t maxPoints) {
    if (maxPoints == 0)
        return std::nullopt;
    if (maxPoints < 0)
        return TExactPercent(-pointsGained * 100, -maxPoints);
    return TExactPercent(pointsGained * 100, maxPoints);
}

const std::array<TGradeScale::TRow, 7>& TGradeScale::Rows() {
    static const std::array<TRow, 7> rows = {{
        {"niedostateczny", 0, true, 45, false},
        {"mierny", 45, true, 60, false},
        {"dostateczny", 60, true, 70, false},
        {"dostatecznie dobry", 70, true, 80, false},
        {"dobry", 80, true, 90, false},
        {"bardzo dobry", 90, true, 100, true},
        {"celujący", 100, false, -1, false},
    }};
    return rows;
}

std::optional<std::string> TGradeScale::Lookup(const TExactPercent& p) {
    for (const TRow& row : Rows()) {
        const bool fromBelow = row.lowerInclusive ? p.AtLeast(row.lower) : p.Above(row.lower);
        const bool fromAbove =
            row.upper < 0 || (row.upperInclusive ? p.AtMost(row.upper) : p.Below(row.upper));
        if (fromBelow && fromAbove)
            return std::string(row.grade);
    }
    return std::nullopt;
}

const std::array<const char*, 9>& GradeScaleLines() {
    static const std::array<const char*, 9> lines = {
        "Skala ocen odnosi się do ilości zdobytych przez ",
        "ciebie punktów i tak za zdobycie :",
        "0% ÷ 45% - niedostateczny",
        "46% ÷ 59% - mierny",
        "60% ÷ 69% - dostateczny",
        "70% ÷ 79% - dostatecznie dobry",
        "80% ÷ 89% - dobry",
        "90% ÷ 100% - bardzo dobry",
        "> 100% - ceujący",
    };
    return lines;
}

std::string GradeScaleText() {
    std::string text;
    for (const char* line : GradeScaleLines()) {
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

std::string GradeRuleText() {
    // The two top rows: where "bardzo dobry" starts, and "celujący" above 100 %.
    const auto& rows = TGradeScale::Rows();
    std::string top;
    for (const TGradeScale::TRow& row : {rows[rows.size() - 2], rows[rows.size() - 1]}) {
        if (!top.empty())
            top += ", ";
        top += std::string(row.lowerInclusive ? "" : "ponad ") + std::to_string(row.lower) + "% " +
               row.grade;
    }
    return "Procent to zdobyte punkty × 100 ÷ maksimum; od niego zależy ocena (" + top + ").";
}

} // namespace kwizmar
