#pragma once

#include "TextMeasure.h"

namespace kwizmar {

// Text widths as the program's widgets draw them (needs a QGuiApplication).
class TQtTextMeasure final : public ITextMeasure {
public:
    int TextWidth(std::string_view utf8, const TFontSpec& font) const override;
};

} // namespace kwizmar
