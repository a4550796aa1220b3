#pragma once

#include "AnswerLetters.h"
#include "RegionalSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Test files (.ts2): a text of a seven-line header and nine lines per question,
// Windows-1250, every byte XOR-ed with one scrambling byte. The program only
// reads them; kwizmar-ts2 makes them.

namespace kwizmar {

// The key whose ten character codes, XOR-ed together, give the scrambling byte.
inline constexpr std::string_view kScrambleKey = "ZelkaQTRVM";
unsigned char ScrambleByte();

// A line is read as at most this many bytes; the rest of a longer line is not seen.
inline constexpr std::size_t kMaxLineBytes = 4096;

// The stored bytes as the reader sees them: cut at the first byte 0, and every
// lone CR or lone LF turned into a CR LF pair (pairs stay as they are).
std::string NormaliseStoredText(std::string_view fileBytes);

// XORs every byte with the scrambling byte, stopping at the first stored byte 0
// or the first byte that decodes to 0 (neither belongs to the text).
std::string DescrambleTest(std::string_view stored);

// The inverse, for the tools that make test files and for tests. Bytes are
// XOR-ed as they are; nothing is checked.
std::string ScrambleTest(std::string_view decoded);

// Splits the decoded Windows-1250 text into lines at CR LF (a final CR LF is
// optional and makes no empty last line), keeps at most kMaxLineBytes bytes
// of each line and decodes the lines to UTF-8 (as TTestFile reads them).
std::vector<std::string> SplitTestLines(std::string_view decoded);

struct TTestHeader {
    std::string description;
    std::string name;
    std::string author;
    std::string createdDate;
    std::string questionCount;
    std::string maxPoints;
    std::string selfAnswerCount;
};

struct TQuestion {
    std::string text;
    std::array<std::string, kAnswerCount> answers;
    std::string correctLetter;
    std::string points;
    std::string selfAnswerLine;
};

// The index 0 … 4 of an answer letter "a" … "e" (lower case only, as the
// correct-letter line names it); -1 for any other text.
int AnswerIndex(std::string_view letter);

struct TSelfAnswer {
    bool hasSelfAnswer = false;
    std::string selfAnswerExtra;
};

// "TAK…" gives true and the text from the seventh character on; "NIE…" and
// anything else give false and an empty extra. Case-sensitive.
TSelfAnswer ParseSelfAnswerLine(std::string_view line);

// Line index of question k (from 1), offset 0 … 8: text, answers A–E, correct
// letter, points, self-answer line. Negative for k of 0 and below.
std::int64_t QuestionLine(int k, int offset);

// The lines of a test. Lines past the end read as empty lines.
//
// A test of thousands of questions is opened to show its header, and the exam
// then reads one question at a time: the file keeps the descrambled
// Windows-1250 text and where each line starts, and decodes a line to UTF-8
// only when it is read.
class TTestFile {
public:
    TTestFile() = default;
    // Lines that are UTF-8 already, held whole (no byte limit applies).
    explicit TTestFile(const std::vector<std::string>& lines);

    // Normalise, descramble and split the bytes of a stored file.
    static TTestFile FromStoredBytes(std::string_view fileBytes);
    // Split a text that is descrambled already (DescrambleTest).
    static TTestFile FromDecodedText(std::string decoded);
    // Reads a whole file; throws EFOpenError when it can't be opened or read.
    static TTestFile ReadFile(const std::string& path);

    std::size_t LineCount() const { return lineCount_; }
    // A hash of the test's descrambled text: a file changed in any line
    // gives another.
    std::uint64_t ContentHash() const;
    // Line `index` in UTF-8, cut to its first kMaxLineBytes bytes on disk.
    std::string Line(std::size_t index) const;
    // Every line, decoded.
    std::vector<std::string> Lines() const;

    TTestHeader Header() const;
    TQuestion Question(int k) const;

private:
    // The lines one after another, each followed by a CR LF (the last one
    // perhaps not): Windows-1250 as stored, or UTF-8 when given so.
    std::string text_;
    // Where each line starts in text_, and last where a line after the last
    // would start; a line ends two bytes before the next one starts. Found at
    // the first look past the header: loading and validating a test needs only
    // the header and the number of lines. (Not for use from several threads.)
    mutable std::vector<std::size_t> starts_;
    std::size_t lineCount_ = 0;
    bool utf8_ = false;

    std::string_view RawLine(std::size_t index) const;
};

// A test is written on one computer and opened on others, so its creation date
// (header line 3) is read in the system's short date format and, failing that,
// in the Polish format the tests are written in (kPolishShortDateFormat).
enum class TDateFormatUsed { SystemShort, Polish };
struct TCreationDate {
    TDate date;
    TDateFormatUsed formatUsed = TDateFormatUsed::SystemShort;
    std::string format; // the pattern that read the date
};
// Nothing when neither format reads the text (see ParseShortDate).
std::optional<TCreationDate> ParseCreationDate(std::string_view text,
                                               const IRegionalSettings& regional);

// The checks that decide whether a text is a test at all, in their order.
enum class TTestCheck {
    None,
    NameQuoted,             // line 1 non-empty, starting and ending with '"'
    DateConverts,           // line 3 is a date (ParseCreationDate)
    QuestionCountInteger,   // line 4
    MaxPointsInteger,       // line 5
    SelfAnswerCountInteger, // line 6
    LineCount,              // at least 9 · N + 7 lines
};

struct TValidation {
    TTestCheck failed = TTestCheck::None;
    int line = -1; // index of the line the failed check looked at
    bool ok() const { return failed == TTestCheck::None; }
};

// Runs the checks in order and stops at the first failure. Of a TTestFile
// only the lines the checks look at are decoded.
TValidation ValidateTestDetailed(const std::vector<std::string>& lines,
                                 const IRegionalSettings& regional);
TValidation ValidateTestDetailed(const TTestFile& file, const IRegionalSettings& regional);
bool ValidateTest(const std::vector<std::string>& lines, const IRegionalSettings& regional);
bool ValidateTest(const TTestFile& file, const IRegionalSettings& regional);

} // namespace kwizmar
