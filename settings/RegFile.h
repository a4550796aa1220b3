#pragma once

#include "Registry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The registry file: the text of a registry export, one file per key, so that
// a person can read it and an installer can write it.
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_CURRENT_USER\Software\Nerbaly\Kwizmar]
//     "Run"="1"
//     "Scroll"=dword:00000001
//
// UTF-8 (a byte-order mark is skipped), LF line ends with or without CRs before
// them (CR LF, or CR CR LF after a second conversion), blank lines and
// ";" comment lines anywhere. A file of nothing but blank lines (0 bytes, as
// touch leaves it) is an empty key; any other starts with the header line.
// Strings escape "\" and '"' with a backslash; integers are "dword:" and up to
// eight hex digits; "hex:" values are kept as they are and read as neither
// type. Key and value names match without regard to case, as in the registry.

namespace kwizmar {

// A registry file that can't be understood. The text names the file and the
// line: "Invalid registry file <file>, line <n>: <reason>".
class ERegistryFileError : public EPlatformError {
public:
    ERegistryFileError(const std::string& fileName, int line, const std::string& reason);
};

struct TRegValue {
    TRegDataType type = TRegDataType::Unknown;
    std::string text;         // String
    std::int32_t integer = 0; // Integer
    std::string data;         // Other: the data as written after "="
};

class TRegFile {
public:
    static constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

    // An empty file: the header line and nothing else.
    TRegFile();

    // Parses a whole file; a blank one gives the empty file. Throws
    // ERegistryFileError naming `fileName` and the first line that doesn't fit
    // the layout above.
    static TRegFile Parse(std::string_view bytes, const std::string& fileName);

    // Parses a whole file as far as it can: every line that doesn't fit the
    // layout above is left out and given in `badLines`; the rest stays as in
    // Parse, after the header line, which is put first where it is missing.
    // Never throws.
    static TRegFile Salvage(std::string_view bytes, std::vector<TBadLine>& badLines);

    // Whether it holds any value.
    bool HasValues() const;

    // The value `name` in the section `[section]`, or null. Where a value is
    // given twice, the last one counts.
    const TRegValue* Find(const std::string& section, const std::string& name) const;

    // Creates or replaces a value. A replaced value keeps its place; a new
    // one goes after the last value of its section, and a new section at the
    // end. Comments and blank lines stay. Throws std::invalid_argument for a
    // text with a line break, which the file can't hold.
    void Set(const std::string& section, const std::string& name, const TRegValue& value);

    // The whole file, every line ended by LF.
    std::string ToText() const;

private:
    // Parse, or Salvage where `badLines` is given.
    static TRegFile ParseLines(std::string_view bytes, const std::string& fileName,
                               std::vector<TBadLine>* badLines);

    enum class TKind { Other, Section, Value };
    struct TLine {
        TKind kind = TKind::Other;
        std::string text; // as read, or as rendered after a change
        std::string section;
        std::string name;
        TRegValue value;
    };
    std::vector<TLine> lines_;
};

} // namespace kwizmar
