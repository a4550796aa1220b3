#pragma once

#include <array>
#include <string>

namespace kwizmar {

// The four lines of the verdict panel after a check, top to bottom.
struct TAnswerFeedback {
    std::array<std::string, 4> lines;

    static TAnswerFeedback Right(const std::string& userName);
    // A wrong pick in the test form: line 4 names the right answer.
    static TAnswerFeedback WrongPick(const std::string& userName,
                                     const std::string& correctAnswerText);
    // A wrong typed answer: the test form of the same question follows, so the
    // right answer is not given away.
    static TAnswerFeedback WrongTyped(const std::string& userName);
};

} // namespace kwizmar
