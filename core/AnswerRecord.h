#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The answers' record of one finished exam: what was answered to each
// question, for the analysis of the questions. Every finish writes one record
// beside the results log, in "odpowiedzi-egzaminow.txt", with its log line.
//
// One record is one line of UTF-8 text (the file's lines end with CR LF),
// fields separated by TAB:
//
//   O1  line  line start  test name  test hash  questions  entry  entry ...
//
// "O1" names the format; `line` is the number of the record's log line and
// `line start` that line's text up to ". Przewidywany" (the user, the date and
// the hour: what tells two exams apart); the test's ContentHash is 16
// hexadecimal digits; `questions` is the test's number of questions. Each
// entry is one question the exam showed, in the test file's numbering and
// letters, its parts separated by '|':
//
//   number | key | question start | chosen | typed | typed text | gained | lost
//
// `key` and `chosen` are a letter A–E or "-"; `typed` is "-" (no typed answer
// tried), "+" (tried and right) or "x" (tried, wrong). In text, '\' is written
// as "\\", TAB as "\t", CR as "\r", LF as "\n" and '|' as "\p".

namespace kwizmar {

struct TAnswerEntry {
    int question = 0;  // its number in the test file, from 1
    char key = 0;      // the right letter 'A' … 'E'; 0 where the test names none
    std::string start; // the question's text, its start
    char chosen = 0;   // the letter picked; 0 for none
    bool typedTried = false;
    bool typedRight = false;
    std::string typed; // the typed answer tried
    std::int64_t gained = 0;
    std::int64_t lost = 0;

    // Answered: a letter picked or a typed answer tried.
    bool Answered() const { return chosen != 0 || typedTried; }
    bool Right() const { return typedRight || (chosen != 0 && chosen == key); }
    bool operator==(const TAnswerEntry&) const = default;
};

struct TAnswerRecord {
    int line = 0; // the log line's number; 0 before it is known
    std::string lineStart;
    std::string testName;
    std::uint64_t testHash = 0;
    int questionCount = 0;
    std::vector<TAnswerEntry> entries;

    bool operator==(const TAnswerRecord&) const = default;
};

// How much of a question's text the record keeps (characters).
inline constexpr std::size_t kRecordedQuestionStart = 60;
// The file beside the results log that holds the records.
inline constexpr const char* kAnswerRecordsFileName = "odpowiedzi-egzaminow.txt";

// One record as a line, without its line end.
std::string FormatAnswerRecord(const TAnswerRecord& record);
// Nothing for a line that is not a whole record of this format (a CR at its
// end is allowed).
std::optional<TAnswerRecord> ParseAnswerRecord(std::string_view line);

// A log line's text (without its number) up to ". Przewidywany", or whole
// where it has none: what names the line in its record.
std::string_view LineStartText(std::string_view lineText);

// The start of a question's text as the record keeps it: white space run
// together, at most kRecordedQuestionStart characters.
std::string QuestionStartText(std::string_view text);

// How a record of the log line `number` with `start` begins: its first
// three fields, each followed by its TAB.
std::string RecordLinePrefix(int number, std::string_view start);
// That beginning of a line of the records file, without parsing the rest;
// empty where the line is no record of this format.
std::string_view RecordLinePrefixOf(std::string_view line);

} // namespace kwizmar
