#pragma once

#include "TestDocument.h"

#include <string>

// A test in GIFT, the text format Moodle and other quiz programs import.

namespace kwizmar {

// The questions of the test in GIFT, UTF-8 with LF line ends: a comment with
// the test's name, then each question on a line of its own,
// "::P<n>::text {=right ~wrong ~wrong …}", the answers in their order with
// the empty ones left out, the characters ~ = # { } : \ escaped, and a "%"
// that opens an answer written "\%" (unescaped, "%50%" there is GIFT's
// weight of an answer, which ImportGift refuses), questions apart by a blank
// line. GIFT has no place for points or for a typed answer:
// a question with points other than 1 or with a typed answer is preceded by
// the comment "// Kwizmar: punkty N, samodzielna K", which other programs
// skip and ImportGift (QuestionImport.h) reads back, so that the file
// imported again gives the same questions. A question whose correct letter
// names no answer is written with every answer wrong, as it stands; a text
// that opens with a format mark ([html] …) gets "[plain]" before it.
std::string GiftText(const TTestDocument& doc);

} // namespace kwizmar
