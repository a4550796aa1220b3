#include "QuestionPreview.h"

#include "AnswerLetters.h"
#include "Cp1250.h"
#include "WrapDisplayLines.h"

namespace kwizmar {

std::vector<std::string> AllDisplayLines(std::string_view text, const ITextMeasure& measure) {
    // A display line holds at least one character.
    const int most = static_cast<int>(CodePointCount(text)) + 1;
    std::vector<std::string> lines = WrapDisplayLines(text, most, measure);
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

TAnswerLine SplitAnswerLine(std::string_view answer, const ITextMeasure& measure) {
    if (measure.TextWidth(answer, AnswerFont()) <= kAnswerTextWidth)
        return {std::string(answer), {}};
    // The byte offsets where characters start, then the longest prefix that fits.
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < answer.size();) {
        starts.push_back(pos);
        char32_t cp;
        if (!NextCodePoint(answer, pos, cp))
            ++pos;
    }
    std::size_t fits = 0, tooMany = starts.size();
    while (tooMany - fits > 1) {
        const std::size_t mid = (fits + tooMany) / 2;
        if (measure.TextWidth(answer.substr(0, starts[mid]), AnswerFont()) <= kAnswerTextWidth)
            fits = mid;
        else
            tooMany = mid;
    }
    const std::size_t cut = starts[fits];
    return {std::string(answer.substr(0, cut)), std::string(answer.substr(cut))};
}

TQuestionPreview PreviewQuestion(const TQuestion& question, int number,
                                 const ITextMeasure& measure) {
    TQuestionPreview preview;
    preview.questionLines = AllDisplayLines(question.text + ":", measure);
    if (preview.questionLines.empty())
        preview.questionLines.emplace_back();
    preview.questionLines.front().insert(0, std::to_string(number) + ": ");
    for (std::size_t i = 0; i < kAnswerCount; ++i)
        preview.answers[i] = SplitAnswerLine(question.answers[i], measure);
    return preview;
}

} // namespace kwizmar
