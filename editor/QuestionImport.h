#pragma once

#include "TestFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Questions teachers already have in the formats other quiz programs read:
// Aiken and GIFT (the multiple-choice part of each), and the questions of
// another test of this program, to merge into the test being edited. A
// question that can't become a question of this program is never dropped or
// changed in silence: it is refused, with the line it starts on and the
// reason in Polish.
//
// The input is the bytes of the file: UTF-8, with or without a byte-order
// mark; a file that is not valid UTF-8 throughout is taken as Windows-1250.
// Line ends may be LF, CR LF or CR. The readers never throw on any input.
//
// What every question from Aiken or GIFT gets: the text and the answers as
// written (blanks around them trimmed), the right answer's letter, 1 point and
// no typed answer, unless a comment of this program's GIFT export says
// otherwise (below). The number of answers is the one the editor's checks allow
// (FewestAnswers() … 5); a question with more or fewer is refused. Characters a
// test file can't hold are kept: the editor's checks point at them.
//
// Aiken: the question (its lines joined by a space), then the answers, each
// on a line of its own starting with its letter and "." or ")" ("A. …",
// "B) …"), in order from A, then "ANSWER: X". Blank lines between questions
// are optional. Refused: answers out of order, a question without text,
// answers or its ANSWER line, an empty answer, an ANSWER letter no answer
// has.
//
// GIFT: questions are separated by blank lines; lines starting with "//" are
// comments, "$CATEGORY:" lines are skipped. A title "::…::" is dropped (the
// program has no place for it), as is the text format mark after it
// (kGiftFormatMarks, below). The escapes \~ \= \# \{ \} \: \\ stand for the
// character, \n for a space (a question is one line); so does \%, which
// GiftText writes before a "%" that opens an answer, lest it be read as a
// weight (another GIFT reader may keep the backslash of \%: a small blemish
// in a rare answer, where a weight would refuse it). Lines of a question are
// joined by a space; text after the answers joins the question after a gap
// "_____", as the blank it is meant to be. The answers {=right ~wrong ~wrong
// …} become the answers in their order, the right one's letter the correct
// letter. Refused, each with its reason: several right answers or none,
// percent weights (~%50%), feedback (#), matching (->), numeric answers
// ({#…}), an essay ({}), a short answer to type ({=a =b}: every question here
// has answers to choose from, a typed answer is only an extra to them), a
// question without text or answers, an empty answer, a missing "}", a second
// block of answers. True/false ({T}, {F}) becomes a question of two answers,
// "Prawda" and "Fałsz".
//
// The format mark of a question's text is that of its answers too. "[plain]"
// and no mark keep the text as written. "[html]" is read as HTML, and so is
// "[moodle]" (a learning platform's "auto-format": HTML in which line breaks
// count as well, and a test joins the lines anyway); "[markdown]" as
// Markdown. The text and the answers of such a question become the plain
// text a test shows (ToPlainText, GiftMarkup.h: tags dropped, character
// references decoded, emphasis marks gone, whitespace one space), and its
// first line is listed in convertedLines. Refused, naming the question or
// the answer: what only the markup shows (a picture, a table, a film or a
// recording, an embedded page or object, a MathML formula, a form's field).
// The GIFT escapes are read first, since GIFT wraps the HTML ("&\#243;" is
// "&#243;", then "ó"); and in such a question a tag (<p dir="ltr">) or a
// numeric reference (&#243;) ends no answer and starts no feedback, its "=",
// "~" and "#" escaped or not.
//
// A comment line "// Kwizmar: punkty N, samodzielna K" just before a
// question (written by GiftText, GiftExport.h) gives it N points and a typed
// answer worth K extra points; either part may be left out.

namespace kwizmar {

// The marks of a GIFT question's text format; one may open the text.
inline constexpr std::string_view kGiftFormatMarks[] = {"[plain]", "[html]", "[moodle]",
                                                        "[markdown]"};

struct TImportRefusal {
    int line = 0;       // the question's first line in the file, from 1
    std::string reason; // a Polish sentence without its full stop
    bool operator==(const TImportRefusal&) const = default;
};

struct TImportedQuestions {
    std::vector<TQuestion> questions; // in the file's order
    std::vector<TImportRefusal> refusals;
    // The first line in the file, from 1, of each question among `questions`
    // that was written in HTML or Markdown and is now plain text, in the
    // file's order.
    std::vector<int> convertedLines;
};

TImportedQuestions ImportAiken(std::string_view bytes);
TImportedQuestions ImportGift(std::string_view bytes);

// The questions of a test of this program, nothing when the bytes hold none:
// the stored bytes of a .ts2 file (TestFile.h), recognised by the name in
// double quotes on its second line, or its text source (TestSource.h: UTF-8
// or Windows-1250), by that name and a whole number of questions on its
// fifth line. The questions come as they are: text, answers, correct
// letter, points and typed answer. Refused, at its first line, a question
// the editor's checks find an error in the shape of (no text, fewer than
// FewestAnswers() answers, an empty answer before a filled one, an empty
// correct answer) or that an exam can't score (CheckTestFile, TestCheck.h:
// a correct letter other than a … e, points or a typed answer's extra points
// not a whole number). A test whose questions can't be found (the number of
// questions not a whole number, none, fewer lines than they need) gives one
// refusal at line 5. Its header is not looked at otherwise: the test being
// edited keeps its own, and a creation date in another format harms no
// question.
std::optional<TImportedQuestions> ImportTest(std::string_view bytes);

// Any of them, as the file looks: a test (ImportTest); then, for a file that
// is no text at all (a byte 0, or more control characters than the odd
// stray one: a picture, a PDF, a program), a single refusal at line 1; Aiken
// when a line starts with "ANSWER:"; else GIFT.
TImportedQuestions ImportQuestions(std::string_view bytes);
// The same for the file at `path` (UTF-8). Throws EFOpenError when the file
// can't be read.
TImportedQuestions ImportQuestionsFromFile(const std::string& path);

} // namespace kwizmar
