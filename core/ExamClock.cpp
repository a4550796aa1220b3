#include "ExamClock.h"

#include "ExamPorts.h"
#include "StrToInt.h"

#include <algorithm>
#include <chrono>

namespace kwizmar {

int ReadExamMinutes(std::string_view fieldText) {
    return TryStrToInt(fieldText).value_or(kMinExamMinutes);
}

std::string ClampExamMinutesText(std::string_view fieldText) {
    const int value = ReadExamMinutes(fieldText);
    if (value < kMinExamMinutes)
        return std::to_string(kMinExamMinutes);
    if (value > kMaxExamMinutes)
        return std::to_string(kMaxExamMinutes);
    return std::string(fieldText);
}

int ExamMinutesOf(std::string_view fieldText) {
    return std::clamp(ReadExamMinutes(fieldText), kMinExamMinutes, kMaxExamMinutes);
}

bool TickDown(int& minutesLeft, int& secondsLeft) {
    if (secondsLeft == 0) {
        secondsLeft = 60;
        --minutesLeft;
    }
    --secondsLeft;
    return minutesLeft == 0 && secondsLeft == 0;
}

std::int64_t ILocalClock::EpochSeconds() const {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

} // namespace kwizmar
