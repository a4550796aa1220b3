#pragma once

#include <string>
#include <string_view>

namespace kwizmar {

// A font as the program's windows name it. The windows layer maps the family
// names onto what the system has ("Times New Roman" onto a metric-compatible
// serif, "MS Sans Serif" onto the system sans).
struct TFontSpec {
    std::string family;
    int pixelHeight = 13;
    bool bold = false;
};

// Pixel widths of texts as the windows draw them.
class ITextMeasure {
public:
    virtual ~ITextMeasure() = default;
    virtual int TextWidth(std::string_view utf8, const TFontSpec& font) const = 0;
};

} // namespace kwizmar
