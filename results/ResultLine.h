#pragma once

#include "ExamResult.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A line of the results log taken apart into its fields. The finish of an
// exam writes each line as one Polish sentence; this reader turns it back
// into data for spreadsheets and the class summary.

namespace kwizmar {

// The fields of one result line, as the finish wrote them.
struct TResultFields {
    std::int64_t number = 0; // the line number written at the finish
    std::string userName;
    std::string testName;  // the test's name line, its double quotes included
    std::string startTime; // in the regional format of the computer that wrote it
    std::string startDate;
    int minutesAllowed = 0;    // the time set, in minutes
    std::string questionCount; // the test header's lines as stored ("004" stays "004")
    std::string maxPoints;
    TExamResult result; // duration, points, percentage (if any), grade (if any)

    bool operator==(const TResultFields&) const = default;
};

// A line of the log: always the whole text, and its fields when the line
// follows the finish's format exactly.
struct TResultLine {
    std::string raw;
    std::optional<TResultFields> fields;
};

// Takes a line apart. A line the finish could not have written (edited by
// hand, from an older program, cut short) has no fields; nothing is guessed:
// a line with fields is exactly what FormatResultLine makes of them. A name
// that holds " przystąpił do egzaminu " is told from the test's name by the
// test's double quotes; where even they can't tell, the line has no fields.
// Never throws for any text.
TResultLine ParseResultLine(std::string_view line);

// The line the finish writes for these fields: "<number>. Użytkownik ...".
std::string FormatResultLine(const TResultFields& fields);

// The test's name without the double quotes that enclose it.
std::string TestTitle(const TResultFields& fields);

} // namespace kwizmar
