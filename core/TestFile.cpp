#include "TestFile.h"

#include "ExamJournal.h"

#include "Cp1250.h"
#include "Errors.h"
#include "LineScan.h"
#include "Paths.h"
#include "StrToInt.h"
#include "WholeFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kwizmar {

unsigned char ScrambleByte() {
    unsigned char key = 0;
    for (char c : kScrambleKey)
        key ^= static_cast<unsigned char>(c);
    return key;
}

namespace {

// `bytes` up to the first `c`, or whole.
std::string_view CutAt(std::string_view bytes, char c) {
    if (bytes.empty())
        return bytes;
    const void* found = std::memchr(bytes.data(), c, bytes.size());
    return found ? bytes.substr(
                       0, static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data()))
                 : bytes;
}

bool Contains(std::string_view bytes, char c) {
    return !bytes.empty() && std::memchr(bytes.data(), c, bytes.size()) != nullptr;
}

// The stored bytes that are text: up to the first byte 0 or the first byte
// that decodes to 0, the scrambling byte itself.
std::string_view StoredText(std::string_view fileBytes, unsigned char key) {
    return CutAt(CutAt(fileBytes, '\0'), static_cast<char>(key));
}

void XorInPlace(std::string& bytes, unsigned char key) {
    for (char& c : bytes)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ key);
}

// Every lone CR or lone LF as a CR LF pair; pairs stay as they are.
std::string NormaliseLineBreaks(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

// The stored text as the reader sees it, decoded in place: cut, normalised
// and descrambled. Cutting before normalising is the same as after, since the
// bytes a normalisation adds are neither 0 nor the scrambling byte. A stored
// CR or LF decodes to a control character that no test text holds, so the
// normalisation mostly has nothing to do.
void DecodeStoredText(std::string& bytes) {
    const unsigned char key = ScrambleByte();
    bytes.resize(StoredText(bytes, key).size());
    if (Contains(bytes, '\r') || Contains(bytes, '\n'))
        bytes = NormaliseLineBreaks(bytes);
    XorInPlace(bytes, key);
}

// How many header lines are looked up without the table of line starts.
constexpr std::size_t kHeaderLines = 7;

} // namespace

std::string NormaliseStoredText(std::string_view fileBytes) {
    return NormaliseLineBreaks(CutAt(fileBytes, '\0'));
}

std::string DescrambleTest(std::string_view stored) {
    const unsigned char key = ScrambleByte();
    std::string out(StoredText(stored, key));
    XorInPlace(out, key);
    return out;
}

std::string ScrambleTest(std::string_view decoded) {
    std::string out(decoded);
    XorInPlace(out, ScrambleByte());
    return out;
}

std::vector<std::string> SplitTestLines(std::string_view decoded) {
    return TTestFile::FromDecodedText(std::string(decoded)).Lines();
}

TSelfAnswer ParseSelfAnswerLine(std::string_view line) {
    TSelfAnswer result;
    if (line.substr(0, 3) != "TAK")
        return result;
    result.hasSelfAnswer = true;
    // Skip "TAK" and the next three characters (usually " - ").
    std::size_t pos = 3;
    for (int skipped = 0; skipped < 3 && pos < line.size(); ++skipped) {
        char32_t cp;
        if (!NextCodePoint(line, pos, cp))
            ++pos;
    }
    result.selfAnswerExtra = std::string(line.substr(pos));
    return result;
}

std::int64_t QuestionLine(int k, int offset) {
    // A test may claim a question count far below zero, and its exam then
    // asks for such a question when the time is up: wide enough for any k.
    return 7 + 9 * (static_cast<std::int64_t>(k) - 1) + offset;
}

TTestFile::TTestFile(const std::vector<std::string>& lines) : utf8_(true) {
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    text_.reserve(size);
    starts_.reserve(lines.size() + 1);
    for (const std::string& line : lines) {
        starts_.push_back(text_.size());
        text_ += line;
        text_ += "\r\n";
    }
    starts_.push_back(text_.size());
    lineCount_ = lines.size();
}

TTestFile TTestFile::FromStoredBytes(std::string_view fileBytes) {
    std::string text(fileBytes);
    DecodeStoredText(text);
    return FromDecodedText(std::move(text));
}

TTestFile TTestFile::FromDecodedText(std::string decoded) {
    TTestFile file;
    file.text_ = std::move(decoded);
    file.lineCount_ = CountCrLfLines(file.text_);
    return file;
}

TTestFile TTestFile::ReadFile(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(PathFromUtf8(path), bytes))
        throw EFOpenError(path);
    DecodeStoredText(bytes);
    return FromDecodedText(std::move(bytes));
}

std::uint64_t TTestFile::ContentHash() const {
    return kwizmar::ContentHash(text_);
}

std::string_view TTestFile::RawLine(std::size_t index) const {
    if (starts_.empty() && index < kHeaderLines) {
        // The header is read before anything else: walk to it from the start.
        std::size_t start = 0;
        for (std::size_t i = 0; i < index; ++i)
            start = text_.find("\r\n", start) + 2;
        const std::size_t end = std::min(text_.find("\r\n", start), text_.size());
        return std::string_view(text_).substr(start, end - start);
    }
    if (starts_.empty())
        starts_ = CrLfLineStarts(text_);
    const std::size_t start = starts_[index];
    return std::string_view(text_.data() + start, starts_[index + 1] - 2 - start);
}

std::string TTestFile::Line(std::size_t index) const {
    if (index >= LineCount())
        return {};
    const std::string_view line = RawLine(index);
    if (utf8_)
        return std::string(line);
    return Cp1250ToUtf8(line.substr(0, kMaxLineBytes));
}

std::vector<std::string> TTestFile::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(LineCount());
    for (std::size_t i = 0; i < LineCount(); ++i)
        lines.push_back(Line(i));
    return lines;
}

TTestHeader TTestFile::Header() const {
    return TTestHeader{Line(0), Line(1), Line(2), Line(3), Line(4), Line(5), Line(6)};
}

int AnswerIndex(std::string_view letter) {
    for (int i = 0; i < kAnswerCount; ++i)
        if (letter == kAnswerLetters[i])
            return i;
    return -1;
}

TQuestion TTestFile::Question(int k) const {
    auto at = [&](int offset) {
        const std::int64_t index = QuestionLine(k, offset);
        return index < 0 ? std::string() : Line(static_cast<std::size_t>(index));
    };
    TQuestion q;
    q.text = at(0);
    for (int i = 0; i < kAnswerCount; ++i)
        q.answers[static_cast<std::size_t>(i)] = at(1 + i);
    q.correctLetter = at(6);
    q.points = at(7);
    q.selfAnswerLine = at(8);
    return q;
}

std::optional<TCreationDate> ParseCreationDate(std::string_view text,
                                               const IRegionalSettings& regional) {
    const std::string systemFormat = regional.ShortDateFormat();
    if (const auto date = ParseShortDate(text, systemFormat))
        return TCreationDate{*date, TDateFormatUsed::SystemShort, systemFormat};
    if (const auto date = ParseShortDate(text, kPolishShortDateFormat))
        return TCreationDate{*date, TDateFormatUsed::Polish, kPolishShortDateFormat};
    return std::nullopt;
}

namespace {

// The checks, on any list of lines: `line(i)` gives line i (empty past the
// end), `lineCount` how many there are.
template <class LineAt>
TValidation Validate(LineAt line, std::size_t lineCount, const IRegionalSettings& regional) {
    const auto name = line(1);
    if (name.empty() || name.front() != '"' || name.back() != '"')
        return {TTestCheck::NameQuoted, 1};
    if (!ParseCreationDate(line(3), regional))
        return {TTestCheck::DateConverts, 3};
    const auto questionCount = TryStrToInt(line(4));
    if (!questionCount)
        return {TTestCheck::QuestionCountInteger, 4};
    if (!TryStrToInt(line(5)))
        return {TTestCheck::MaxPointsInteger, 5};
    if (!TryStrToInt(line(6)))
        return {TTestCheck::SelfAnswerCountInteger, 6};
    const long long needed = 9LL * *questionCount + 7;
    if (static_cast<long long>(lineCount) < needed)
        return {TTestCheck::LineCount, 4};
    return {};
}

} // namespace

TValidation ValidateTestDetailed(const std::vector<std::string>& lines,
                                 const IRegionalSettings& regional) {
    auto line = [&](std::size_t i) {
        return i < lines.size() ? std::string_view(lines[i]) : std::string_view();
    };
    return Validate(line, lines.size(), regional);
}

TValidation ValidateTestDetailed(const TTestFile& file, const IRegionalSettings& regional) {
    return Validate([&](std::size_t i) { return file.Line(i); }, file.LineCount(), regional);
}

bool ValidateTest(const std::vector<std::string>& lines, const IRegionalSettings& regional) {
    return ValidateTestDetailed(lines, regional).ok();
}

bool ValidateTest(const TTestFile& file, const IRegionalSettings& regional) {
    return ValidateTestDetailed(file, regional).ok();
}

} // namespace kwizmar
