#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// Windows-1250 is the code page of everything the program keeps on disk (test
// files, the results log). Inside the program text is UTF-8; these two calls
// are the file edge.

namespace kwizmar {

// Thrown by Utf8ToCp1250 for text the code page can't hold. `offset` is the
// byte offset of the offending character in the UTF-8 input.
class ECp1250Error : public std::runtime_error {
public:
    ECp1250Error(const std::string& what, std::size_t offset)
        : std::runtime_error(what), offset_(offset) {}
    std::size_t offset() const { return offset_; }

private:
    std::size_t offset_;
};

// Every byte decodes: the five bytes Windows-1250 leaves undefined (0x81, 0x83,
// 0x88, 0x90, 0x98) become the control characters of the same number, as
// Windows itself maps them, so that a decode/encode round trip is lossless.
std::string Cp1250ToUtf8(std::string_view bytes);

// Throws ECp1250Error on malformed UTF-8 or on a character outside the code page.
std::string Utf8ToCp1250(std::string_view utf8);

// As above, but each character outside the code page and each malformed byte
// is written as `replacement` ('?', as Windows writes them). Never throws.
std::string Utf8ToCp1250(std::string_view utf8, char replacement);

// Whether Windows-1250 holds the character.
bool InCp1250(char32_t cp);

// Decodes one code point at `pos` and advances `pos`; returns false on
// malformed input (pos is left unchanged).
bool NextCodePoint(std::string_view utf8, std::size_t& pos, char32_t& cp);

// Number of code points in a UTF-8 text (malformed bytes count one each).
std::size_t CodePointCount(std::string_view utf8);

// Appends the code point `cp` to `out` in UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// Whether the text is well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view text);

// Upper and lower case as Windows-1250 defines them: the ASCII letters and the
// letters of the code page's upper half (Ł/ł, Ś/ś, Ą/ą, Ż/ż, Ó/ó …) are case
// pairs; every other character, one outside the code page included, and
// malformed bytes stay as they are. Input and output are UTF-8.
std::string Cp1250UpperCase(std::string_view utf8);
std::string Cp1250LowerCase(std::string_view utf8);

} // namespace kwizmar
