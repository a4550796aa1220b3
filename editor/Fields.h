#pragma once

#include "TestDocument.h"

#include <string>

// The fields of a test as the teacher edits them, and their texts.

namespace kwizmar {

enum class TField {
    Description,
    Name,
    Author,
    Date,
    MaxPoints,
    Questions, // the list as a whole
    Text,
    Answer,
    CorrectLetter,
    Points,
    SelfAnswer,
    Bonus,
};

// A field of the header (question -1) or of question `question` (from 0);
// `answer` 0 … 4 for the answers A … E.
struct TFieldRef {
    TField field = TField::Description;
    int question = -1;
    int answer = -1;
    bool operator==(const TFieldRef&) const = default;
};

// The text the teacher sees in a field: the name without its double quotes,
// the typed answer's extra points alone, the maximum points as written. The
// correct answer is its letter line, the typed answer "TAK" or "NIE".
std::string FieldText(const TTestDocument& doc, TFieldRef ref);

// Sets the field from the teacher's text: the name gets its double quotes,
// extra points make the line "TAK - k", maximum points are then set by hand;
// the typed answer takes "TAK" (with 1 extra point where it had none) or "NIE".
void SetFieldText(TTestDocument& doc, TFieldRef ref, const std::string& text);

// The field in words, for the undo command's name: "treść pytania 3".
std::string FieldName(TFieldRef ref);

} // namespace kwizmar
