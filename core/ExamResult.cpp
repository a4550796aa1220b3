#include "ExamResult.h"

#include "GradeScale.h"

namespace kwizmar {

TExamResult ComputeExamResult(const TExamState& state) {
    TExamResult r;
    r.elapsedMinutes = static_cast<std::int64_t>(state.minutesAllowed) - state.minutesLeft - 1;
    r.elapsedSeconds = 60 - state.secondsLeft;
    r.pointsGained = state.pointsGained;
    r.pointsLost = state.pointsLost;
    if (const auto percent = TExactPercent::Of(r.pointsGained, state.maxPoints)) {
        r.percentShown = percent->Truncated();
        r.grade = TGradeScale::Lookup(*percent);
    }
    return r;
}

std::string DurationText(const TExamResult& r) {
    return "Egzamin trwał " + std::to_string(r.elapsedMinutes) + " minut i " +
           std::to_string(r.elapsedSeconds) + " sekund";
}

std::string PercentText(const TExamResult& r) {
    return r.percentShown ? std::to_string(*r.percentShown) : kNoPercentText;
}

std::string GradeText(const TExamResult& r) {
    return r.grade ? *r.grade : kNoGradeText;
}

std::array<std::string, 6> SummaryLines(const std::string& userName,
                                        const std::string& maxPointsText, const TExamResult& r) {
    return {
        userName + " gratuluję przejścia egzaminu",
        DurationText(r),
        "Do zdobycia było " + maxPointsText + ", z czego zdobyto " +
            std::to_string(r.pointsGained) + " a stracono " + std::to_string(r.pointsLost),
        "Zdobyłeś " + PercentText(r) + "% całości punktów.",
        "Otrzymana ocena to:",
        GradeText(r),
    };
}

std::string ResultLineText(const std::string& headerText, const TExamResult& r) {
    const std::string startText = headerText.size() > 8 ? headerText.substr(8) : std::string();
    return startText + ". " + DurationText(r) + ". Zdobyto " + std::to_string(r.pointsGained) +
           "pkt. (" + PercentText(r) + "%) a stracono " + std::to_string(r.pointsLost) + "pkt. " +
           "Otrzymana ocena to:" + " " + GradeText(r) + ".";
}

} // namespace kwizmar
