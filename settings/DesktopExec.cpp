#include "DesktopExec.h"

#include "Cp1250.h"

#include <string_view>

namespace kwizmar {

std::string DesktopExecProgram(const std::string& path) {
    if (path.empty() || !IsValidUtf8(path))
        throw std::invalid_argument("no Exec line can hold this path");
    bool quote = false;
    for (unsigned char c : path) {
        if ((c < 0x20 && c != '\t') || c == 0x7f)
            throw std::invalid_argument("no Exec line can hold this path");
        if (std::string_view(" \t\"'\\><~|&;$*?#()`").find(char(c)) != std::string_view::npos)
            quote = true;
    }
    // The command line, as the reader sees it once the value's escapes are gone.
    std::string argument = quote ? "\"" : "";
    for (char c : path) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            argument += '\\';
        argument += c;
        if (c == '%')
            argument += '%';
    }
    if (quote)
        argument += '"';
    std::string value;
    for (char c : argument) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '\t')
            value += "\\t";
        else
            value += c;
    }
    return value;
}

} // namespace kwizmar
