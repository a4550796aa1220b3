#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// The text source of a test: UTF-8, one field a line, in the order of the
// decoded test file. kwizmar-ts2 packs it into a .ts2 file and unpacks it
// again; the test editor opens and exports it.

namespace kwizmar {

// What is wrong with a source; the text names the line and the column.
class ETestSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Why a line of text can't be carried by a test file as it stands, if it
// can't: malformed UTF-8, a control character (all but the tab, since the
// scrambled file would turn them into line breaks or an end of text), a
// character Windows-1250 has no place for, or more bytes than the reader sees
// of a line. `column` counts characters from 1; 0 when the whole line is meant.
struct TLineProblem {
    std::size_t column = 0;
    std::string text;
};
std::optional<TLineProblem> LineProblem(std::string_view utf8Line);

// A UTF-8 source (any of LF, CR LF or CR line ends, an optional byte-order
// mark) → the stored bytes of a .ts2 file: Windows-1250, CR LF line ends, a
// final line break only where the source has one, scrambled. Throws
// ETestSourceError for the first line with a LineProblem, as
// "wiersz L, znak C: …" or "wiersz L: …".
std::string PackTestSource(std::string_view source);

// The stored bytes → the text as the program reads it, in UTF-8 with LF line
// ends (nothing of a line is cut).
std::string UnpackTestFile(std::string_view stored);

} // namespace kwizmar
