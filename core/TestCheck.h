#pragma once

#include "RegionalSettings.h"
#include "TestFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What can be said about a test beyond "the program accepts it": why a file is
// rejected, in words, and what passes the loader but goes wrong during an
// exam. kwizmar-ts2 check and the test editor say the same things.

namespace kwizmar {

// A text in Polish quotation marks: „text”.
std::string Quoted(std::string_view text);

// The failed check of ValidateTestDetailed in words, naming the line.
std::string DescribeRejection(const TValidation& validation, const TTestFile& file,
                              const IRegionalSettings& regional);

// The date format that read a creation date, in words: "w polskim formacie
// daty (dd.MM.yyyy)" or "w krótkim formacie daty systemu (…)".
std::string DateFormatName(const TCreationDate& created);

// Per field of a question, what stops an exam or makes it score wrongly;
// nothing when the field is right.
// The correct-answer line must be one of the letters a … e.
std::optional<std::string> CorrectLetterProblem(std::string_view letter);
// A question's points must be a whole number.
std::optional<std::string> PointsProblem(std::string_view points);
// The extra points of a typed answer must be a whole number.
std::optional<std::string> BonusProblem(std::string_view extra);

// The header's totals against the questions: nothing when they agree.
std::optional<std::string> MaxPointsDiffers(std::string_view maxPoints, long long pointsSum);
std::optional<std::string> SelfAnswerCountDiffers(std::string_view selfAnswerCount,
                                                  int selfAnswers);

// The outcome of `kwizmar-ts2 check`: empty `rejection` for a test the program
// accepts; `notes` are things that pass the loader but go wrong during an
// exam; `dateFormat` says which date format read the creation date.
struct TCheckReport {
    std::string rejection;
    std::vector<std::string> notes;
    std::string summary;
    std::string dateFormat;
};
TCheckReport CheckTestFile(const std::string& path, std::string_view stored,
                           const IRegionalSettings& regional);

} // namespace kwizmar
