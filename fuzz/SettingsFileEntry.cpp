// The settings file: the registry file's reader and writer.
#include "FuzzEntries.h"

#include "Cp1250.h"
#include "RegFile.h"
#include "Text.h"

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace kwizmar::fuzz {

namespace {

constexpr const char* kSettingsSection = "HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar";
constexpr const char* kFileName = "Kwizmar.reg";

using TValueName = std::pair<std::string, std::string>; // section, value

// The names of the program's own values, and every section and plain quoted
// name the input mentions, so that values of any name are compared.
std::set<TValueName> NamesIn(std::string_view bytes) {
    std::set<std::string> sections = {kSettingsSection,
                                      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\"
                                      "CurrentVersion\\Setup"};
    std::set<std::string> names = {"",       "Run", "Version",  "Path",   "Name",
                                   "Scroll", "Odp", "UserName", "SysDir", "WinDir"};
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = Trim(bytes.substr(0, end), " \t\r");
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            sections.emplace(line.substr(1, line.size() - 2));
        if (line.size() > 1 && line.front() == '"') {
            const std::size_t close = line.find('"', 1);
            if (close != std::string_view::npos)
                names.emplace(line.substr(1, close - 1));
        }
    }
    std::set<TValueName> all;
    for (const std::string& section : sections)
        for (const std::string& name : names)
            all.emplace(section, name);
    return all;
}

bool SameValue(const TRegValue* a, const TRegValue* b) {
    if (!a || !b)
        return a == b;
    return a->type == b->type && a->text == b->text && a->integer == b->integer &&
           a->data == b->data;
}

// The file read back from its own text.
TRegFile Reread(const TRegFile& file) {
    try {
        return TRegFile::Parse(file.ToText(), kFileName);
    } catch (const ERegistryFileError& e) {
        throw EBrokenPromise(std::string("a rendered file reads back: ") + e.what());
    }
}

} // namespace

void SettingsFileEntry(std::string_view bytes) {
    const std::set<TValueName> names = NamesIn(bytes);
    TRegFile file;
    try {
        file = TRegFile::Parse(bytes, kFileName);
    } catch (const ERegistryFileError&) {
        // The store sets such a file aside and starts it again with what could
        // be read, which must read back whole: else every start would set it
        // aside again.
        std::vector<TBadLine> badLines;
        const TRegFile salvaged = TRegFile::Salvage(bytes, badLines);
        Require(!badLines.empty(), "a file the reader refuses has a bad line");
        const TRegFile again = Reread(salvaged);
        for (const auto& [section, name] : names)
            Require(SameValue(salvaged.Find(section, name), again.Find(section, name)),
                    "what is salvaged reads back with the same values");
        return;
    }
    const TRegFile again = Reread(file);
    for (const auto& [section, name] : names)
        Require(SameValue(file.Find(section, name), again.Find(section, name)),
                "parse, render, parse gives the same values");

    // The program writes names and texts of its own; a text is anything
    // without a line break, quotes and backslashes included.
    std::string text(bytes.substr(bytes.size() / 2));
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    if (!IsValidUtf8(text))
        text = Cp1250ToUtf8(text);
    const std::uint32_t mixed = static_cast<std::uint32_t>(bytes.size()) * 2654435761u;
    TRegValue userName{TRegDataType::String, text, 0, {}};
    TRegValue scroll{TRegDataType::Integer, {}, static_cast<std::int32_t>(mixed), {}};
    file.Set(kSettingsSection, "UserName", userName);
    file.Set(kSettingsSection, "Scroll", scroll);
    const TRegFile written = Reread(file);
    Require(SameValue(file.Find(kSettingsSection, "UserName"), &userName) &&
                SameValue(file.Find(kSettingsSection, "Scroll"), &scroll),
            "a value set is found as set");
    for (const auto& [section, name] : names)
        Require(SameValue(written.Find(section, name), file.Find(section, name)),
                "a value set reads back as set, and the others as they were");
}

} // namespace kwizmar::fuzz
