#pragma once

#include <stdexcept>
#include <string>

// The program path as the first argument of a desktop entry's Exec key, as the
// freedesktop desktop-entry rules read it: the value's escapes (\\, \t) are
// undone first, then the quoting of the command line, then the field codes.

namespace kwizmar {

// The path written so that those readings give back exactly `path`: quoted
// when it holds a character the command line reserves (with \ " ` $ escaped
// inside the quotes), every % doubled, then the value's escapes applied.
// Throws std::invalid_argument for a path no Exec line can carry: an empty
// one, one with a line break or another control character than tab, or one
// that is not UTF-8.
std::string DesktopExecProgram(const std::string& path);

} // namespace kwizmar
