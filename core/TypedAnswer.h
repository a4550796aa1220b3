#pragma once

#include <string_view>

namespace kwizmar {

// Whether a typed answer is right: it must equal the correct text as it
// stands, in Windows-1250 lower case or in upper case, each also with every
// blank (code 32) removed from both texts. So case and blanks never matter;
// tabs, punctuation and letters with or without diacritics do.
bool TypedAnswerMatches(std::string_view correctText, std::string_view typedText);

// The rule above as the test editor tells it to the teacher.
inline constexpr const char* kTypedAnswerRuleText =
    "Wielkość liter (także polskich) i spacje nie mają znaczenia, pozostałe znaki muszą się "
    "zgadzać.";

} // namespace kwizmar
