#include "AnswerRecord.h"

#include <charconv>
#include <limits>

namespace kwizmar {

namespace {

constexpr std::string_view kFormat = "O1";
constexpr std::string_view kLineEnd = ". Przewidywany";
// Far beyond any exam, far from where sums of them overflow.
constexpr std::int64_t kMaxPoints = std::int64_t(1) << 40;
constexpr int kMaxQuestion = 1 << 30;

void PutEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '|':
            out += "\\p";
            break;
        default:
            out += c;
        }
    }
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    // The runs between escapes go over whole: most texts have none.
    for (std::size_t at = 0;;) {
        const std::size_t escape = text.find('\\', at);
        out.append(text.substr(at, escape - at));
        if (escape == std::string_view::npos)
            return out;
        if (escape + 1 == text.size())
            return std::nullopt;
        switch (text[escape + 1]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 'p':
            out += '|';
            break;
        default:
            return std::nullopt;
        }
        at = escape + 2;
    }
}

template <typename T>
bool ReadNumber(std::string_view text, T& value, T low, T high, int base = 10) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    return !text.empty() && ec == std::errc() && ptr == end && value >= low && value <= high;
}

char LetterOrNone(std::string_view field, bool& ok) {
    if (field == "-")
        return 0;
    if (field.size() == 1 && field[0] >= 'A' && field[0] <= 'E')
        return field[0];
    ok = false;
    return 0;
}

// The next piece of `text` up to `separator`; false past the end.
bool NextPiece(std::string_view& text, char separator, std::string_view& piece, bool& done) {
    if (done)
        return false;
    const std::size_t at = text.find(separator);
    piece = text.substr(0, at);
    if (at == std::string_view::npos)
        done = true;
    else
        text.remove_prefix(at + 1);
    return true;
}

std::optional<TAnswerEntry> ParseEntry(std::string_view field) {
    std::string_view parts[8];
    bool done = false;
    std::size_t n = 0;
    std::string_view piece;
    while (NextPiece(field, '|', piece, done)) {
        if (n == 8)
            return std::nullopt;
        parts[n++] = piece;
    }
    if (n != 8)
        return std::nullopt;
    TAnswerEntry e;
    bool ok = ReadNumber(parts[0], e.question, 1, kMaxQuestion);
    e.key = LetterOrNone(parts[1], ok);
    e.chosen = LetterOrNone(parts[3], ok);
    auto start = Unescaped(parts[2]);
    auto typed = Unescaped(parts[5]);
    if (!ok || !start || !typed)
        return std::nullopt;
    e.start = std::move(*start);
    e.typed = std::move(*typed);
    if (parts[4] == "+")
        e.typedTried = e.typedRight = true;
    else if (parts[4] == "x")
        e.typedTried = true;
    else if (parts[4] != "-" || !e.typed.empty())
        return std::nullopt;
    if (!ReadNumber(parts[6], e.gained, -kMaxPoints, kMaxPoints) ||
        !ReadNumber(parts[7], e.lost, -kMaxPoints, kMaxPoints))
        return std::nullopt;
    return e;
}

} // namespace

std::string FormatAnswerRecord(const TAnswerRecord& r) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(kFormat);
    out += '\t';
    out += std::to_string(r.line);
    out += '\t';
    PutEscaped(out, r.lineStart);
    out += '\t';
    PutEscaped(out, r.testName);
    out += '\t';
    for (int shift = 60; shift >= 0; shift -= 4)
        out += kDigits[(r.testHash >> shift) & 15];
    out += '\t';
    out += std::to_string(r.questionCount);
    for (const TAnswerEntry& e : r.entries) {
        out += '\t';
        out += std::to_string(e.question);
        out += '|';
        out += e.key ? e.key : '-';
        out += '|';
        PutEscaped(out, e.start);
        out += '|';
        out += e.chosen ? e.chosen : '-';
        out += '|';
        out += e.typedRight ? '+' : e.typedTried ? 'x' : '-';
        out += '|';
        PutEscaped(out, e.typed);
        out += '|';
        out += std::to_string(e.gained);
        out += '|';
        out += std::to_string(e.lost);
    }
    return out;
}

std::optional<TAnswerRecord> ParseAnswerRecord(std::string_view line) {
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    std::string_view fields[6];
    bool done = false;
    std::string_view piece;
    for (std::string_view& field : fields)
        if (!NextPiece(line, '\t', field, done))
            return std::nullopt;
    TAnswerRecord r;
    auto start = Unescaped(fields[2]);
    auto name = Unescaped(fields[3]);
    if (fields[0] != kFormat ||
        !ReadNumber(fields[1], r.line, 0, std::numeric_limits<int>::max()) || !start || !name ||
        fields[4].size() != 16 ||
        !ReadNumber(fields[4], r.testHash, std::uint64_t(0),
                    std::numeric_limits<std::uint64_t>::max(), 16) ||
        !ReadNumber(fields[5], r.questionCount, 0, kMaxQuestion))
        return std::nullopt;
    r.lineStart = std::move(*start);
    r.testName = std::move(*name);
    while (NextPiece(line, '\t', piece, done)) {
        auto entry = ParseEntry(piece);
        if (!entry)
            return std::nullopt;
        r.entries.push_back(std::move(*entry));
    }
    return r;
}

std::string_view LineStartText(std::string_view lineText) {
    return lineText.substr(0, lineText.find(kLineEnd));
}

std::string QuestionStartText(std::string_view text) {
    std::string out;
    std::size_t characters = 0;
    bool space = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            space = !out.empty();
            continue;
        }
        // A UTF-8 character counts once, at its first byte.
        const bool first = (c & 0xC0) != 0x80;
        if (first) {
            if (characters + (space ? 1 : 0) >= kRecordedQuestionStart)
                break;
            if (space) {
                out += ' ';
                ++characters;
            }
            ++characters;
        }
        space = false;
        out += text[i];
    }
    return out;
}

std::string RecordLinePrefix(int number, std::string_view start) {
    std::string prefix(kFormat);
    prefix += '\t';
    prefix += std::to_string(number);
    prefix += '\t';
    PutEscaped(prefix, start);
    prefix += '\t';
    return prefix;
}

std::string_view RecordLinePrefixOf(std::string_view line) {
    if (!line.starts_with(kFormat) || line.substr(kFormat.size(), 1) != "\t")
        return {};
    const std::size_t second = line.find('\t', kFormat.size() + 1);
    const std::size_t third =
        second == std::string_view::npos ? second : line.find('\t', second + 1);
    return third == std::string_view::npos ? std::string_view() : line.substr(0, third + 1);
}

} // namespace kwizmar
