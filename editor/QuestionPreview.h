#pragma once

#include "AnswerLetters.h"
#include "TestFile.h"
#include "TextMeasure.h"

#include <array>
#include <string>
#include <vector>

// What the exam page shows of a question, and what it cuts off: three display
// lines of the question text (wrapped as the exam wraps them, with its ":"
// after the text and "k: " before the first line) and one line per answer.

namespace kwizmar {

inline constexpr int kShownQuestionLines = 3;
// The start page shows two display lines of a test's description.
inline constexpr int kShownDescriptionLines = 2;

struct TAnswerLine {
    std::string shown; // what fits on the answer line
    std::string cut;   // the rest, not seen in the exam
};

struct TQuestionPreview {
    // Every display line of the question; the first kShownQuestionLines are seen.
    std::vector<std::string> questionLines;
    std::array<TAnswerLine, kAnswerCount> answers;
    bool QuestionCut() const { return questionLines.size() > kShownQuestionLines; }
};

// `number` counts from 1.
TQuestionPreview PreviewQuestion(const TQuestion& question, int number,
                                 const ITextMeasure& measure);

// Every display line `text` wraps to in the question area (none for a text
// without a visible character).
std::vector<std::string> AllDisplayLines(std::string_view text, const ITextMeasure& measure);

// The answer line split where the exam page cuts it.
TAnswerLine SplitAnswerLine(std::string_view answer, const ITextMeasure& measure);

} // namespace kwizmar
