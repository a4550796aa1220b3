#include "IniFile.h"

#include "Cp1250.h"
#include "Text.h"

namespace kwizmar {

namespace {

// Lines are split at LF alone, so the CR of a CR LF counts as a blank at the end.
std::string_view TrimField(std::string_view s) {
    return TrimRight(TrimLeft(s), " \t\r");
}

} // namespace

TIniFile TIniFile::Parse(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::string text = IsValidUtf8(bytes) ? std::string(bytes) : Cp1250ToUtf8(bytes);

    TIniFile ini;
    std::map<std::string, std::string>* section = nullptr;
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = TrimField(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos)
                continue;
            section = &ini.sections_[AsciiLowerCase(TrimField(line.substr(1, close - 1)))];
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!section || eq == std::string_view::npos)
            continue;
        std::string_view value = TrimField(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        section->emplace(AsciiLowerCase(TrimField(line.substr(0, eq))), std::string(value));
    }
    return ini;
}

bool TIniFile::SectionExists(const std::string& section) const {
    return sections_.count(AsciiLowerCase(section)) != 0;
}

std::optional<std::string> TIniFile::Read(const std::string& section,
                                          const std::string& key) const {
    const auto s = sections_.find(AsciiLowerCase(section));
    if (s == sections_.end())
        return std::nullopt;
    const auto k = s->second.find(AsciiLowerCase(key));
    if (k == s->second.end())
        return std::nullopt;
    return k->second;
}

} // namespace kwizmar
