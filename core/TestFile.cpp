#include "TestFile.h"

#include "Cp1250.h"
#include "Errors.h"
#include "Paths.h"
#include "StrToInt.h"
#include "WholeFile.h"

namespace kwizmar {

unsigned char ScrambleByte() {
    unsigned char key = 0;
    for (char c : kScrambleKey)
        key ^= static_cast<unsigned char>(c);
    return key;
}

std::string NormaliseStoredText(std::string_view fileBytes) {
    const std::size_t nul = fileBytes.find('\0');
    if (nul != std::string_view::npos)
        fileBytes = fileBytes.substr(0, nul);
    std::string out;
    out.reserve(fileBytes.size() + fileBytes.size() / 16);
    for (std::size_t i = 0; i < fileBytes.size(); ++i) {
        const char c = fileBytes[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string DescrambleTest(std::string_view stored) {
    const unsigned char key = ScrambleByte();
    std::string out;
    out.reserve(stored.size());
    for (char c : stored) {
        const auto byte = static_cast<unsigned char>(c);
        const auto plain = static_cast<unsigned char>(byte ^ key);
        if (byte == 0 || plain == 0)
            break;
        out += static_cast<char>(plain);
    }
    return out;
}

std::string ScrambleTest(std::string_view decoded) {
    const unsigned char key = ScrambleByte();
    std::string out(decoded);
    for (char& c : out)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ key);
    return out;
}

std::vector<std::string> SplitTestLines(std::string_view decoded) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < decoded.size()) {
        std::size_t end = decoded.find("\r\n", pos);
        const bool last = end == std::string_view::npos;
        if (last)
            end = decoded.size();
        std::string_view line = decoded.substr(pos, end - pos);
        if (line.size() > kMaxLineBytes)
            line = line.substr(0, kMaxLineBytes);
        lines.push_back(Cp1250ToUtf8(line));
        pos = last ? end : end + 2;
    }
    return lines;
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

int QuestionLine(int k, int offset) {
    return 7 + 9 * (k - 1) + offset;
}

TTestFile::TTestFile(std::vector<std::string> lines) : lines_(std::move(lines)) {}

TTestFile TTestFile::FromStoredBytes(std::string_view fileBytes) {
    return TTestFile(SplitTestLines(DescrambleTest(NormaliseStoredText(fileBytes))));
}

TTestFile TTestFile::ReadFile(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(PathFromUtf8(path), bytes))
        throw EFOpenError(path);
    return FromStoredBytes(bytes);
}

const std::string& TTestFile::Line(std::size_t index) const {
    static const std::string kEmpty;
    return index < lines_.size() ? lines_[index] : kEmpty;
}

TTestHeader TTestFile::Header() const {
    return TTestHeader{Line(0), Line(1), Line(2), Line(3), Line(4), Line(5), Line(6)};
}

int AnswerIndex(std::string_view letter) {
    static constexpr std::string_view kLetters = "abcde";
    const std::size_t i = letter.size() == 1 ? kLetters.find(letter[0]) : std::string_view::npos;
    return i == std::string_view::npos ? -1 : static_cast<int>(i);
}

TQuestion TTestFile::Question(int k) const {
    auto at = [&](int offset) -> const std::string& {
        const int index = QuestionLine(k, offset);
        return index < 0 ? Line(lines_.size()) : Line(static_cast<std::size_t>(index));
    };
    TQuestion q;
    q.text = at(0);
    for (int i = 0; i < 5; ++i)
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

TValidation ValidateTestDetailed(const std::vector<std::string>& lines,
                                 const IRegionalSettings& regional) {
    static const std::string kEmpty;
    auto line = [&](std::size_t i) -> const std::string& {
        return i < lines.size() ? lines[i] : kEmpty;
    };
    const std::string& name = line(1);
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
    if (static_cast<long long>(lines.size()) < needed)
        return {TTestCheck::LineCount, 4};
    return {};
}

bool ValidateTest(const std::vector<std::string>& lines, const IRegionalSettings& regional) {
    return ValidateTestDetailed(lines, regional).ok();
}

} // namespace kwizmar
