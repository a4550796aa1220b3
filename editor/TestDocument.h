#pragma once

#include "RegionalSettings.h"
#include "TestFile.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A test as the editor holds it: the header's free fields, the questions, and
// whatever follows the last question. The header's numbers are not held but
// derived from the questions; every other field is the text of its line, so
// that a test read and written again unchanged gives the same lines.

namespace kwizmar {

struct TTestDocument {
    std::string description;
    std::string nameLine; // as stored, with its double quotes
    std::string author;
    std::string createdDate;
    // The maximum points when set by hand; without it, the sum of the points.
    std::optional<std::string> maxPointsByHand;
    std::vector<TQuestion> questions;
    // Lines after the last question block, kept as they are.
    std::vector<std::string> linesAfter;
    // The number lines as read: written again while they still hold the
    // derived number, so that "05" stays "05".
    std::string questionCountRead, maxPointsRead, selfAnswerCountRead;
};

// The name as the teacher types it, and its line: the double quotes of the
// line are added here, never typed.
std::string NameOfLine(std::string_view nameLine);
std::string LineOfName(std::string_view name);

// A new question: empty texts, answer A correct, 1 point, no typed answer.
TQuestion NewQuestion();
// A new test: one new question, the creation date `today` in dd.MM.yyyy.
TTestDocument NewTestDocument(const TDate& today);

// The derived header: the number of questions, of questions with a typed
// answer, the sum of the points (nothing while a points line is not a whole
// number), and the maximum points written to the file (the hand-set value or
// the sum; "0" while there is no sum).
int SelfAnswerQuestionCount(const TTestDocument& doc);
std::optional<long long> PointsSum(const TTestDocument& doc);
std::string MaxPointsLine(const TTestDocument& doc);

// The decoded lines of the test file: the header, 9 lines per question, the
// lines after them.
std::vector<std::string> DocumentLines(const TTestDocument& doc);

// From the lines of a test the program accepts (ValidateTest). The maximum
// points count as set by hand when they differ from the sum.
TTestDocument DocumentFromFile(const TTestFile& file);

// A file that the editor can't open, in words.
class EDocumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Whether a path names a text source rather than a .ts2 file: anything but a
// .ts2 extension in any letter case.
bool IsTextSourcePath(std::string_view path);

// Reads a .ts2 file or a text source (kwizmar-ts2's format) from its bytes.
// Throws EDocumentError when the source can't be packed or the program
// would reject the test, saying why.
TTestDocument ReadDocument(std::string_view path, std::string_view bytes,
                           const IRegionalSettings& regional);

// The bytes of the document as a .ts2 file (CR LF after every line,
// Windows-1250, scrambled) and as a text source (UTF-8, LF after every line).
// The first throws ECp1250Error for text Windows-1250 can't hold; the checks
// (DocumentChecks.h) find that first.
std::string StoredBytes(const TTestDocument& doc);
std::string TextSourceBytes(const TTestDocument& doc);

} // namespace kwizmar
