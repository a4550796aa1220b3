#include "TypedAnswer.h"

#include "Cp1250.h"

#include <string>

namespace kwizmar {

namespace {

std::string WithoutBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ')
            out += c;
    return out;
}

bool EqualInAnyCase(std::string_view a, std::string_view b) {
    return a == b || Cp1250LowerCase(a) == Cp1250LowerCase(b) ||
           Cp1250UpperCase(a) == Cp1250UpperCase(b);
}

} // namespace

bool TypedAnswerMatches(std::string_view correctText, std::string_view typedText) {
    return EqualInAnyCase(correctText, typedText) ||
           EqualInAnyCase(WithoutBlanks(correctText), WithoutBlanks(typedText));
}

} // namespace kwizmar
