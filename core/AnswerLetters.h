#pragma once

namespace kwizmar {

// A question has five answers, A … E. The test file names the correct one by
// its lower-case letter; the windows name the answer buttons and the editor
// shows the answers by the capital.
inline constexpr int kAnswerCount = 5;
inline constexpr const char* kAnswerLetters[kAnswerCount] = {"a", "b", "c", "d", "e"};
inline constexpr const char* kAnswerCapitals[kAnswerCount] = {"A", "B", "C", "D", "E"};

} // namespace kwizmar
