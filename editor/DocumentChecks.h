#pragma once

#include "Fields.h"
#include "RegionalSettings.h"
#include "TestDocument.h"
#include "TextMeasure.h"

#include <string>
#include <vector>

// The editor's live checks: the same rules as the program's loader and
// kwizmar-ts2 (TestSource.h, TestCheck.h), said beside the field they concern.
// An error would make a file the program rejects, or an exam that stops or
// scores wrongly, and keeps the test from being saved; a warning points at
// something the examinee would see otherwise than the teacher meant.

namespace kwizmar {

enum class TSeverity { Error, Warning };

struct TCheck {
    TFieldRef where;
    TSeverity severity = TSeverity::Error;
    std::string text; // a Polish sentence, starting with a capital letter
};

// A question has two to five answers: the first ones filled, the rest empty.
inline constexpr int kMinAnswers = 2;
// The number of answers up to the last one filled in.
int AnswerCount(const TQuestion& q);
// For a question of two to four answers, what the examinee sees of the empty
// ones; empty otherwise.
std::string AnswerCountNote(const TQuestion& q);

// The findings about the header and the list as a whole (they depend on
// every question), and those about question k alone (they depend on it alone).
std::vector<TCheck> CheckHeaderOf(const TTestDocument& doc, const IRegionalSettings& regional,
                                  const ITextMeasure& measure);
std::vector<TCheck> CheckQuestionOf(const TTestDocument& doc, int k,
                                    const IRegionalSettings& regional, const ITextMeasure& measure);

// The fewest answers a question may have. The answers come first: those after
// the last one given stay empty (the exam shows the places A to E). The
// importers of other formats ask this too, so the rule stands here alone.
int FewestAnswers();

// Every finding, the header's first, then question by question.
std::vector<TCheck> CheckDocument(const TTestDocument& doc, const IRegionalSettings& regional,
                                  const ITextMeasure& measure);

} // namespace kwizmar
