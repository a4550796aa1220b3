#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// HTML's character references ("&oacute;", "&#243;", "&#xF3;"), as the text
// of a question written in HTML holds them.

namespace kwizmar {

// The character reference `text` starts with: appends the character it
// stands for to `out` in UTF-8 and returns the reference's length; returns 0,
// appending nothing, when `text` starts with none (a lone "&", an unknown
// name, no ";" at the end).
//
// Names: all of HTML 4 (Latin-1, Greek, the typographic and mathematical
// signs: &nbsp; &oacute; &ndash; &bdquo; &rdquo; &hellip; &euro; &le; …),
// HTML's names of Latin Extended-A, the letters Polish needs among them
// (&aogon; &cacute; &eogon; &lstrok; &nacute; &sacute; &zacute; &zdot; …),
// and &apos;. Numbers, decimal or hexadecimal, are read as browsers read
// them: 128 … 159 as Windows-1252 does ("&#150;" is "–"), 0, surrogates and
// numbers past Unicode as U+FFFD.
std::size_t ReadCharacterReference(std::string_view text, std::string& out);

} // namespace kwizmar
