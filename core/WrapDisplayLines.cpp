#include "WrapDisplayLines.h"

#include "Cp1250.h"
#include "Text.h"

namespace kwizmar {

namespace {

// Byte length of the first code point of `s` (1 for a malformed byte).
std::size_t FirstCharLength(std::string_view s) {
    std::size_t pos = 0;
    char32_t cp;
    if (!NextCodePoint(s, pos, cp))
        return 1;
    return pos;
}

// The longest prefix of `word` (at least one character) that fits the width.
std::size_t FittingPrefix(std::string_view word, int width, const ITextMeasure& measure) {
    std::size_t fit = FirstCharLength(word);
    while (fit < word.size()) {
        const std::size_t next = fit + FirstCharLength(word.substr(fit));
        if (measure.TextWidth(word.substr(0, next), QuestionFont()) > width)
            break;
        fit = next;
    }
    return fit;
}

} // namespace

const TFontSpec& QuestionFont() {
    static const TFontSpec font{"MS Sans Serif", 13, false};
    return font;
}

const TFontSpec& AnswerFont() {
    static const TFontSpec font{"MS Sans Serif", 11, false};
    return font;
}

std::vector<std::string> WrapDisplayLines(std::string_view text, int n,
                                          const ITextMeasure& measure) {
    std::vector<std::string> lines;
    if (n <= 0)
        return lines;
    const int width = kQuestionTextWidth;
    std::string current;
    std::size_t pos = 0;
    while (pos < text.size() && static_cast<int>(lines.size()) < n) {
        // The next word with the blanks that follow it.
        std::size_t end = text.find(' ', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::size_t wordEnd = end;
        while (end < text.size() && text[end] == ' ')
            ++end;
        const std::string_view word = text.substr(pos, wordEnd - pos);
        const std::string_view blanks = text.substr(wordEnd, end - wordEnd);
        pos = end;

        std::string candidate = current;
        candidate += word;
        if (measure.TextWidth(candidate, QuestionFont()) <= width) {
            current = candidate;
            current += blanks;
            continue;
        }
        if (!TrimRight(current, " ").empty()) {
            lines.emplace_back(TrimRight(current, " "));
            current.clear();
        }
        // The word starts a line of its own; split it while it is wider than one.
        std::string_view rest = word;
        while (!rest.empty() && measure.TextWidth(rest, QuestionFont()) > width &&
               static_cast<int>(lines.size()) < n) {
            const std::size_t fit = FittingPrefix(rest, width, measure);
            lines.emplace_back(rest.substr(0, fit));
            rest.remove_prefix(fit);
        }
        current = std::string(rest);
        current += blanks;
    }
    if (static_cast<int>(lines.size()) < n && !TrimRight(current, " ").empty())
        lines.emplace_back(TrimRight(current, " "));
    lines.resize(static_cast<std::size_t>(n));
    return lines;
}

} // namespace kwizmar
