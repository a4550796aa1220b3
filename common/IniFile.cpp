#include "IniFile.h"

#include "Cp1250.h"

#include <cctype>

namespace kwizmar {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool IsUtf8(std::string_view text) {
    std::size_t pos = 0;
    char32_t cp = 0;
    while (pos < text.size())
        if (!NextCodePoint(text, pos, cp))
            return false;
    return true;
}

} // namespace

TIniFile TIniFile::Parse(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::string text = IsUtf8(bytes) ? std::string(bytes) : Cp1250ToUtf8(bytes);

    TIniFile ini;
    std::map<std::string, std::string>* section = nullptr;
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = Trim(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos)
                continue;
            section = &ini.sections_[Lower(Trim(line.substr(1, close - 1)))];
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!section || eq == std::string_view::npos)
            continue;
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        section->emplace(Lower(Trim(line.substr(0, eq))), std::string(value));
    }
    return ini;
}

bool TIniFile::SectionExists(const std::string& section) const {
    return sections_.count(Lower(section)) != 0;
}

std::optional<std::string> TIniFile::Read(const std::string& section,
                                          const std::string& key) const {
    const auto s = sections_.find(Lower(section));
    if (s == sections_.end())
        return std::nullopt;
    const auto k = s->second.find(Lower(key));
    if (k == s->second.end())
        return std::nullopt;
    return k->second;
}

} // namespace kwizmar
