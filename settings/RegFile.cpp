#include "RegFile.h"

#include "Cp1250.h"
#include "Text.h"

#include <algorithm>
#include <stdexcept>

namespace kwizmar {

namespace {

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string HexDword(std::int32_t v) {
    static const char digits[] = "0123456789abcdef";
    const auto u = static_cast<std::uint32_t>(v);
    std::string out(8, '0');
    for (int i = 0; i < 8; ++i)
        out[std::size_t(7 - i)] = digits[(u >> (4 * i)) & 0xF];
    return out;
}

std::string Render(const std::string& name, const TRegValue& value) {
    const std::string left = name.empty() ? "@" : Quote(name);
    switch (value.type) {
    case TRegDataType::String:
        return left + "=" + Quote(value.text);
    case TRegDataType::Integer:
        return left + "=dword:" + HexDword(value.integer);
    default:
        return left + "=" + value.data;
    }
}

// Reads a quoted text at the start of `s` (which begins with '"'); returns
// false on a missing closing quote or an unknown escape.
bool TakeQuoted(std::string_view& s, std::string& out) {
    out.clear();
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"'))
                return false;
            out += s[++i];
        } else {
            out += c;
        }
    }
    return false;
}

struct TParseError {
    std::string reason;
};

void ParseValueLine(std::string_view s, std::string& name, TRegValue& value) {
    if (s.front() == '@') {
        name.clear();
        s.remove_prefix(1);
    } else if (!TakeQuoted(s, name)) {
        throw TParseError{"the value name is not a quoted text"};
    }
    s = Trim(s);
    if (s.empty() || s.front() != '=')
        throw TParseError{"\"=\" expected after the value name"};
    s = Trim(s.substr(1));
    if (!s.empty() && s.front() == '"') {
        value.type = TRegDataType::String;
        if (!TakeQuoted(s, value.text) || !Trim(s).empty())
            throw TParseError{"a text value must be one quoted text"};
        return;
    }
    if (s.starts_with("dword:")) {
        const std::string_view hex = s.substr(6);
        std::uint32_t u = 0;
        if (hex.empty() || hex.size() > 8)
            throw TParseError{"\"dword:\" must be followed by eight hex digits"};
        for (char c : hex) {
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                throw TParseError{"\"dword:\" must be followed by eight hex digits"};
            u = u * 16 + std::uint32_t(d);
        }
        value.type = TRegDataType::Integer;
        value.integer = static_cast<std::int32_t>(u);
        return;
    }
    if (s.starts_with("hex")) {
        if (s.back() == '\\')
            throw TParseError{"continued lines are not supported"};
        value.type = TRegDataType::Other;
        value.data = std::string(s);
        return;
    }
    throw TParseError{"unknown kind of value (expected \"text\", dword: or hex:)"};
}

} // namespace

ERegistryFileError::ERegistryFileError(const std::string& fileName, int line,
                                       const std::string& reason)
    : EPlatformError("Invalid registry file " + fileName + ", line " + std::to_string(line) + ": " +
                     reason) {}

TRegFile::TRegFile() {
    lines_.push_back({TKind::Other, kHeader, {}, {}, {}});
}

TRegFile TRegFile::Parse(std::string_view bytes, const std::string& fileName) {
    return ParseLines(bytes, fileName, nullptr);
}

TRegFile TRegFile::Salvage(std::string_view bytes, std::vector<TBadLine>& badLines) {
    badLines.clear();
    return ParseLines(bytes, {}, &badLines);
}

bool TRegFile::HasValues() const {
    return std::any_of(lines_.begin(), lines_.end(),
                       [](const TLine& line) { return line.kind == TKind::Value; });
}

TRegFile TRegFile::ParseLines(std::string_view bytes, const std::string& fileName,
                              std::vector<TBadLine>* badLines) {
    TRegFile file;
    file.lines_.clear();
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);

    bool seenHeader = false, onlyBlank = true;
    std::string section;
    int number = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view raw = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        // Every CR before the LF belongs to the line end, as in a file whose
        // line ends were converted twice: a CR kept in the line would not
        // survive the next write, which ends lines with LF alone.
        while (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        ++number;

        TLine line;
        line.text = std::string(raw);
        const std::string_view s = Trim(raw);
        try {
            if (!IsValidUtf8(raw))
                throw TParseError{"the text is not UTF-8"};
            onlyBlank = onlyBlank && s.empty();
            if (s.empty() || s.front() == ';') {
                line.kind = TKind::Other;
            } else if (!seenHeader) {
                if (s != kHeader)
                    throw TParseError{std::string("the first line must be \"") + kHeader + "\""};
                seenHeader = true;
            } else if (s.front() == '[') {
                if (s.back() != ']' || s.size() < 3 || s[1] == '-')
                    throw TParseError{"a key line must be \"[key name]\""};
                line.kind = TKind::Section;
                section = std::string(s.substr(1, s.size() - 2));
                line.section = section;
            } else if (s.front() == '"' || s.front() == '@') {
                if (section.empty())
                    throw TParseError{"a value comes before any [key] line"};
                line.kind = TKind::Value;
                line.section = section;
                ParseValueLine(s, line.name, line.value);
            } else {
                throw TParseError{"neither a [key] line, a value, a comment nor blank"};
            }
        } catch (const TParseError& e) {
            if (!badLines)
                throw ERegistryFileError(fileName, number, e.reason);
            badLines->push_back({number, std::move(line.text)});
            // A header line that isn't one doesn't keep the lines after it out.
            seenHeader = true;
            continue;
        }
        file.lines_.push_back(std::move(line));
    }
    // A file that touch or an installer left empty holds no values yet.
    if (onlyBlank)
        return TRegFile();
    if (!seenHeader && !badLines)
        throw ERegistryFileError(fileName, std::max(number, 1),
                                 std::string("the first line must be \"") + kHeader + "\"");
    if (badLines && !badLines->empty()) {
        const bool headed = std::any_of(file.lines_.begin(), file.lines_.end(), [](const TLine& l) {
            return l.kind == TKind::Other && Trim(l.text) == kHeader;
        });
        if (!headed)
            file.lines_.insert(file.lines_.begin(), {TKind::Other, kHeader, {}, {}, {}});
    }
    return file;
}

const TRegValue* TRegFile::Find(const std::string& section, const std::string& name) const {
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
        if (it->kind == TKind::Value && SameTextIgnoringCase(it->section, section) &&
            SameTextIgnoringCase(it->name, name))
            return &it->value;
    return nullptr;
}

void TRegFile::Set(const std::string& section, const std::string& name, const TRegValue& value) {
    const std::string& text = value.type == TRegDataType::Other ? value.data : value.text;
    if (text.find_first_of("\r\n") != std::string::npos)
        throw std::invalid_argument("a registry file value can't hold a line break");

    TLine line{TKind::Value, Render(name, value), section, name, value};
    // Replace the last occurrence (the one that counts), keeping its place.
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
        if (it->kind == TKind::Value && SameTextIgnoringCase(it->section, section) &&
            SameTextIgnoringCase(it->name, name)) {
            line.name = it->name;
            line.section = it->section;
            line.text = Render(line.name, value);
            *it = std::move(line);
            return;
        }
    // After the last line of the section's last block.
    std::size_t insertAt = 0;
    bool inSection = false, seen = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == TKind::Section)
            inSection = SameTextIgnoringCase(lines_[i].section, section);
        if (inSection && lines_[i].kind != TKind::Other) {
            insertAt = i + 1;
            seen = true;
        }
    }
    if (!seen) {
        if (!lines_.empty() && !Trim(lines_.back().text).empty())
            lines_.push_back({TKind::Other, "", {}, {}, {}});
        lines_.push_back({TKind::Section, "[" + section + "]", section, {}, {}});
        lines_.push_back(std::move(line));
        return;
    }
    lines_.insert(lines_.begin() + std::ptrdiff_t(insertAt), std::move(line));
}

std::string TRegFile::ToText() const {
    std::string out;
    for (const TLine& line : lines_)
        out += line.text + "\n";
    return out;
}

} // namespace kwizmar
