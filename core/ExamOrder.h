#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The order of one exam: where the teacher or the lab wants it, each exam
// shows the questions, and the answers within each question, in an order of
// its own, drawn when it starts. Everything the exam keeps of the answers
// (the record, the analysis) speaks in the test file's numbering and letters;
// only the screen shows the exam's own order.

namespace kwizmar {

inline constexpr int kOrderedAnswers = 5;

// For each answer place on screen (A … E: 0 … 4), the answer of the file
// shown there.
using TAnswerOrder = std::array<int, kOrderedAnswers>;

struct TExamOrder {
    // Question k on screen (from 1) is question questions[k - 1] of the file;
    // empty: the file's order.
    std::vector<int> questions;
    // The answers of file question q (from 1) are answers[q - 1]; empty: the
    // file's order in every question.
    std::vector<TAnswerOrder> answers;

    bool operator==(const TExamOrder&) const = default;

    // The file's number of the question shown as `shown` (from 1).
    int FileQuestion(int shown) const;
    // The file's answer (0 … 4) shown in place `place` (0 … 4) of file question `question`.
    int FileAnswer(int question, int place) const;
    // The place on screen of the file's answer `answer` (0 … 4) of file question `question`.
    int ShownPlace(int question, int answer) const;
};

// Draws the orders of an exam of `questionCount` questions from `seed`: all
// the questions in a random order where `questions`; where `answers`, within
// each question the answers that have a text (filled[q - 1][i]) in a random
// order on the first places, the empty places after them in the file's order.
// The same seed gives the same orders on every system.
TExamOrder DrawExamOrder(int questionCount,
                         const std::vector<std::array<bool, kOrderedAnswers>>& filled,
                         bool questions, bool answers, std::uint64_t seed);

// A fresh seed from the system's random source.
std::uint64_t FreshSeed();

// Whether `order` is whole for `questionCount` questions: permutations of the
// right sizes, or empty.
bool OrderFits(const TExamOrder& order, int questionCount);

} // namespace kwizmar
