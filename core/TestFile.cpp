#include "TestFile.h"

#include "ExamJournal.h"

#include "Cp1250.h"
#include "Errors.h"
#include "Paths.h"
#include "StrToInt.h"
#include "WholeFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

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

// A bit for each CR LF that starts among the 16 bytes at `p` (bit i for
// p[i]); the byte after them is read as well. Every x86-64 processor has
// SSE2; elsewhere the bytes are compared one by one.
std::uint32_t LineBreakBits(const char* p) {
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    const __m128i pairs = _mm_and_si128(_mm_cmpeq_epi8(here, _mm_set1_epi8('\r')),
                                        _mm_cmpeq_epi8(next, _mm_set1_epi8('\n')));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(pairs));
#else
    std::uint32_t bits = 0;
    for (unsigned i = 0; i < 16; ++i)
        bits |= static_cast<std::uint32_t>(p[i] == '\r' && p[i + 1] == '\n') << i;
    return bits;
#endif
}

// Where each line of `text` starts, and last where a line after the last
// would start (see TTestFile::starts_).
//
// A test has a short line every few dozen bytes, so a search line by line
// (memchr a line) costs more in calls and mispredicted branches than in
// looking at bytes. The line breaks are found 16 bytes at a time instead, and
// the first two of a block are written whether the block has them or not and
// then counted, so that the loop branches only on blocks of three or more.
std::vector<std::size_t> LineStarts(std::string_view text) {
    const char* const t = text.data();
    const std::size_t n = text.size();
    constexpr std::size_t kBlock = 16;
    constexpr std::size_t kMostPerBlock = kBlock / 2;
    std::vector<std::size_t> starts(n / kBlock + 2 * kMostPerBlock);
    auto room = [&](std::size_t count) {
        if (starts.size() < count + kMostPerBlock + 1)
            starts.resize(2 * starts.size());
    };
    std::size_t count = 0;
    if (n > 0)
        starts[count++] = 0;
    std::size_t block = 0;
    for (; block + kBlock < n; block += kBlock) {
        room(count);
        const std::uint32_t first = LineBreakBits(t + block);
        const std::uint32_t second = first & (first - 1);
        std::uint32_t rest = second & (second - 1);
        std::size_t* out = starts.data() + count;
        out[0] = block + 2 + static_cast<std::size_t>(std::countr_zero(first));
        out[1] = block + 2 + static_cast<std::size_t>(std::countr_zero(second));
        count += static_cast<std::size_t>(first != 0) + static_cast<std::size_t>(second != 0);
        for (; rest != 0; rest &= rest - 1)
            starts[count++] = block + 2 + static_cast<std::size_t>(std::countr_zero(rest));
    }
    room(count);
    for (std::size_t i = block; i + 1 < n; ++i)
        if (t[i] == '\r' && t[i + 1] == '\n')
            starts[count++] = i + 2;
    // After a final CR LF no line starts; without one, the last line ends
    // where the text does.
    if (n > 0 && starts[count - 1] != n)
        starts[count++] = n + 2;
    starts.resize(count == 0 ? 1 : count);
    return starts;
}

// How many lines `text` has: one a CR LF, and a last one without it.
std::size_t CountLines(std::string_view text) {
    const char* const t = text.data();
    const std::size_t n = text.size();
    std::size_t breaks = 0;
    std::size_t block = 0;
#if defined(__SSE2__) || defined(_M_X64)
    // Each byte lane counts its own CR LFs, up to 255 blocks at a time, and the
    // lanes are then summed: no per-block bit count.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (block + 16 < n) {
        __m128i lanes = _mm_setzero_si128();
        for (int round = 0; round < 255 && block + 16 < n; ++round, block += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + block));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + block + 1));
            lanes = _mm_sub_epi8(lanes,
                                 _mm_and_si128(_mm_cmpeq_epi8(here, cr), _mm_cmpeq_epi8(next, lf)));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        breaks += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                  static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
    }
#else
    for (; block + 16 < n; block += 16)
        breaks += static_cast<std::size_t>(std::popcount(LineBreakBits(t + block)));
#endif
    for (std::size_t i = block; i + 1 < n; ++i)
        breaks += t[i] == '\r' && t[i + 1] == '\n';
    return breaks + (n > 0 && !text.ends_with("\r\n") ? 1 : 0);
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
    file.lineCount_ = CountLines(file.text_);
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
        starts_ = LineStarts(text_);
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
