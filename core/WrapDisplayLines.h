#pragma once

#include "TextMeasure.h"

#include <string>
#include <string_view>
#include <vector>

namespace kwizmar {

// The question area: a 475-pixel-wide multi-line text box in MS Sans Serif
// with characters 13 pixels high.
const TFontSpec& QuestionFont();
inline constexpr int kQuestionBoxWidth = 475;
// What remains for text inside that box once its sunken frame (2 px a side)
// and the box's inner margins (2 px a side) are taken off.
inline constexpr int kQuestionTextWidth = kQuestionBoxWidth - 8;

// An answer on the exam page: one line 439 pixels wide, in MS Sans Serif with
// characters 11 pixels high; the rest of a longer answer is not seen.
const TFontSpec& AnswerFont();
inline constexpr int kAnswerTextWidth = 439;

// Word-wraps `text` to the width of the question area and returns exactly `n`
// display lines: the first n lines of the wrap, padded with empty strings when
// the text makes fewer. Lines break after the blanks between words; a word
// wider than a whole line is broken inside the word. Blanks at the end of a
// display line are dropped.
std::vector<std::string> WrapDisplayLines(std::string_view text, int n,
                                          const ITextMeasure& measure);

} // namespace kwizmar
