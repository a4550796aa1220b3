#pragma once

namespace kwizmar {

// Where the exam page puts the question and its answers, in pixels: shared by
// the page itself and the test editor's preview of it.
struct TExamPageGeometry {
    static constexpr int kPageWidth = 511;
    static constexpr int kPageHeight = 305;
    static constexpr int kStripHeight = 22; // the banner on top
    // The question's lines: 10 pixels in, one every 14 pixels below the banner.
    static constexpr int kQuestionX = 10;
    static constexpr int kQuestionTop = kStripHeight + 5;
    static constexpr int kQuestionStep = 14;
    // The answers' box, 4 pixels in; in it an answer's text starts 56 pixels
    // in, one answer every 19 pixels.
    static constexpr int kAnswerBoxX = 4;
    static constexpr int kAnswerTextX = 56;
    static constexpr int kAnswerTop = 18;
    static constexpr int kAnswerStep = 19;
};

} // namespace kwizmar
