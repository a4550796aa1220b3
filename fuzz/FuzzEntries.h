#pragma once

#include <array>
#include <stdexcept>
#include <string_view>

// The entry functions of the fuzz targets in this folder. Each feeds one input
// through one of the readers of files that can come from outside and checks
// what the reader promises. The ordinary test suite feeds the seed corpora and
// every input kept in fuzz/regressions/ through the same functions.
//
// An entry returns normally for an input the reader handles as documented
// (rejecting it included). A broken promise throws EBrokenPromise; any other
// exception that escapes is a failure of the reader as well.

namespace kwizmar::fuzz {

class EBrokenPromise : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Throws EBrokenPromise(`what`) unless `kept`.
void Require(bool kept, const char* what);

// Stored bytes of a .ts2 file: line breaks, descrambling, lines, validation,
// self-answer lines; then, for a file the loader accepts, one exam answered
// question by question and one left until its time is up, each ending with
// exactly one result line.
void TestFileEntry(std::string_view bytes);
// A results log: parse, format and parse again give the same lines; the
// printout of the lines covers them, page by page, within the page.
void ResultsLogEntry(std::string_view bytes);
// A settings file: parse, render and parse again give the same values, also
// after values are set.
void SettingsFileEntry(std::string_view bytes);
// The update file: the ini reader, the web-address filter (only http and https
// addresses reach the about window) and the version test.
void UpdateFileEntry(std::string_view bytes);
// The text source of `kwizmar-ts2 pack`: packed and unpacked again it reads as
// written, and the packed test goes through TestFileEntry.
void TestSourceEntry(std::string_view bytes);
// The journal of an exam in progress: read, written and read again it is the
// same; picked up, continued or ended, and left to its clock, the exam gives
// exactly one result line.
void ExamJournalEntry(std::string_view bytes);
// An Aiken file of questions to import: every question has the shape a test
// allows, every refusal and every question converted from HTML or Markdown
// names a line of the file; the same of the import that tells the formats
// apart (a .ts2 file or its source, a file that is no text, Aiken, GIFT),
// whose lines are the test's in a .ts2 file.
void AikenImportEntry(std::string_view bytes);
// A GIFT file of questions to import (or any file given to the import): as
// Aiken, and the questions exported as GIFT and imported again are the same,
// none refused.
void GiftImportEntry(std::string_view bytes);
// The answers' records of finished exams (and, before a 0x1E byte, a results
// log of its own; else a small one of three exams): every record reads back
// as written; the analysis of the questions counts each line once, with a
// record or without, and its figures stay within their ranges; it is the same
// each time, and one test's lines give no other lines' tables.
void AnswerRecordsEntry(std::string_view bytes);

struct TFuzzEntry {
    const char* name; // of the fuzz target, its corpus and its regression inputs
    void (*run)(std::string_view bytes);
};

inline constexpr std::array<TFuzzEntry, 9> kFuzzEntries{{
    {"test_file", TestFileEntry},
    {"results_log", ResultsLogEntry},
    {"settings_file", SettingsFileEntry},
    {"update_file", UpdateFileEntry},
    {"test_source", TestSourceEntry},
    {"exam_journal", ExamJournalEntry},
    {"aiken_import", AikenImportEntry},
    {"gift_import", GiftImportEntry},
    {"answer_records", AnswerRecordsEntry},
}};

} // namespace kwizmar::fuzz
