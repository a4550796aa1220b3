#pragma once

#include "ExamOrder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kwizmar {

// The form in which the question on screen is to be answered, as the two form
// options of the chooser show it.
enum class TAnswerMode { NotChosen, SelfTyped, TestForm };

// How one question was answered and scored, in the test file's numbering.
struct TQuestionOutcome {
    int question = 0;
    char kind = 'R'; // 'R' right pick, 'W' wrong pick, 'S' right typed answer
    std::int64_t points = 0;
    char chosen = 0; // the letter picked, 'A' … 'E' (R, W)
    // The typed answer tried: the right one (S), or a wrong one before the pick.
    std::optional<std::string> typed;
    bool operator==(const TQuestionOutcome&) const = default;
};

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

    // The test as the exam read it, for the answers' record.
    std::string testName;
    std::uint64_t testHash = 0;
    // The exam's own order of the questions and answers (ExamOrder.h); the
    // numbers and letters above are the screen's.
    TExamOrder order;
    // The highest question number shown (the questions 1 … this one).
    int questionsShown = 0;
    // Every question checked, in order.
    std::vector<TQuestionOutcome> outcomes;
    // A wrong typed answer to the question on screen, until its pick.
    std::optional<std::string> typedTried;
};

} // namespace kwizmar
