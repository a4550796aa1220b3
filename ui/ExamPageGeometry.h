#pragma once

namespace kwizmar {

// Where the exam page puts the question and its answers, in pixels: shared by
// the page itself and the test editor's preview of it.
namespace exam_page {
inline constexpr int kPageWidth = 511;
inline constexpr int kPageHeight = 305;
inline constexpr int kStripHeight = 22; // the banner on top
// The question's lines: 10 pixels in, one every 14 pixels below the banner.
inline constexpr int kQuestionX = 10;
inline constexpr int kQuestionTop = kStripHeight + 5;
inline constexpr int kQuestionStep = 14;
// The answers' box, 4 pixels in; in it an answer's text starts 56 pixels
// in, one answer every 19 pixels.
inline constexpr int kAnswerBoxX = 4;
inline constexpr int kAnswerTextX = 56;
inline constexpr int kAnswerTop = 18;
inline constexpr int kAnswerStep = 19;
} // namespace exam_page

} // namespace kwizmar
