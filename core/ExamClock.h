#pragma once

#include <string>
#include <string_view>

namespace kwizmar {

inline constexpr int kMinExamMinutes = 5;
inline constexpr int kMaxExamMinutes = 60;
inline constexpr int kDefaultExamMinutes = 10;
inline constexpr int kExamMinutesStep = 2; // one click of the field's arrows

// The exam time as the time field reads it: a text that is not a whole number
// reads as 5, the field's minimum. Not yet kept within 5 … 60.
int ReadExamMinutes(std::string_view fieldText);

// The field's text after an edit: a value below 5 becomes "5", one above 60
// becomes "60"; anything else (an unreadable text included, which reads as 5)
// stays as typed.
std::string ClampExamMinutesText(std::string_view fieldText);

// The exam time the start takes from the field: always 5 … 60.
int ExamMinutesOf(std::string_view fieldText);

// One second off the time left. Returns true when the time is up (0:00).
bool TickDown(int& minutesLeft, int& secondsLeft);

// The two-digit text of a clock display: 9 shows as "09".
std::string TwoDigits(int value);

} // namespace kwizmar
