#include "AnswerFeedback.h"

namespace kwizmar {

TAnswerFeedback TAnswerFeedback::Right(const std::string& userName) {
    return {{"", "Gratuluję " + userName, "poprawna odpwiedź", ""}};
}

TAnswerFeedback TAnswerFeedback::WrongPick(const std::string& userName,
                                           const std::string& correctAnswerText) {
    return {
        {"Niestety " + userName, "błędna odpowiedź.", "Poprawna odpwiedź to", correctAnswerText}};
}

TAnswerFeedback TAnswerFeedback::WrongTyped(const std::string& userName) {
    return {{"Niestety " + userName, "błędna odpowiedź.", "Sprój testowo", ""}};
}

} // namespace kwizmar
