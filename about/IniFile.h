#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kwizmar {

// A small ini file, read whole: "[section]" lines, "key=value" lines below
// them. Section and key names match without regard to ASCII case; blanks
// around names and values are dropped, as is one pair of double quotes around
// a value; lines starting with ";" and lines without "=" are skipped. The
// first of two equal keys in a section counts. Text that isn't UTF-8 is read
// as Windows-1250. Reading never fails.
class TIniFile {
public:
    static TIniFile Parse(std::string_view bytes);

    bool SectionExists(const std::string& section) const;
    // The value of `key` in `section`, or nothing when either is missing.
    std::optional<std::string> Read(const std::string& section, const std::string& key) const;

private:
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

} // namespace kwizmar
