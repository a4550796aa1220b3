#pragma once

#include <cstdint>
#include <string>

namespace kwizmar {

// The form in which the question on screen is to be answered, as the two form
// options of the chooser show it.
enum class TAnswerMode { NotChosen, SelfTyped, TestForm };

// The state of one exam, from "&Start" to the grade. StartExam resets every
// field but chosenLetter; the texts of a question are kept as they stand in the
// test and converted where they are computed with.
struct TExamState {
    std::string userName;
    int minutesAllowed = 10;
    int questionCount = 0;
    int maxPoints = 0;
    int nextQuestion = 0;
    int questionNumber = 0;
    std::int64_t pointsGained = 0;
    std::int64_t pointsLost = 0;

    // The question on screen.
    std::string questionPoints;
    std::string correctLetter;
    std::string correctAnswerText;
    bool hasSelfAnswer = false;
    std::string selfAnswerExtra;

    std::string chosenLetter;
    TAnswerMode answerMode = TAnswerMode::NotChosen;
    int minutesLeft = 0;
    int secondsLeft = 0;
    std::string headerText;
};

} // namespace kwizmar
