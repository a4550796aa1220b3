#pragma once

#include <string>
#include <string_view>
#include <vector>

// Small text helpers for the files the program reads (registry files, ini
// files, dates). Texts are UTF-8 or Windows-1250; only ASCII bytes are ever
// looked at, so neither encoding is harmed.

namespace kwizmar {

// Spaces and tabs.
inline constexpr std::string_view kBlanks = " \t";

// `s` without the characters of `chars` at its start, at its end, or both.
std::string_view TrimLeft(std::string_view s, std::string_view chars = kBlanks);
std::string_view TrimRight(std::string_view s, std::string_view chars = kBlanks);
std::string_view Trim(std::string_view s, std::string_view chars = kBlanks);

// The lines of `text`, each ended by CR LF, LF or CR, without their ends; a
// last line without an end counts too. `finalBreak`, where given, tells
// whether the text ends with a line end after at least one line.
std::vector<std::string_view> SplitLines(std::string_view text, bool* finalBreak = nullptr);

// Names as the registry and ini files match them: the ASCII letters without
// regard to case, every other byte as it is. Independent of the C locale.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
std::string AsciiLowerCase(std::string_view s);

// The Polish noun form for a count `n`: `one` for 1, `few` for 2–4, 22–24,
// 32–34 … (but not 12–14), `many` for the rest ("1 pytanie", "3 pytania",
// "5 pytań", "12 pytań", "22 pytania").
const char* PolishPlural(long long n, const char* one, const char* few, const char* many);

} // namespace kwizmar
