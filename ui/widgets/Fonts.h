#pragma once

#include "TextMeasure.h"

#include <QFont>

namespace kwizmar {

// The fonts the program's windows name, on what this system has: "Times New
// Roman" becomes the metric-compatible Liberation Serif, "MS Sans Serif" a sans
// of similar width (Liberation Sans, else the system's sans). Sizes are pixels
// at 96 dots per inch: the type grows with the desktop's text size.
QFont UiFont(const TFontSpec& spec);
QFont UiFont(const char* family, int pixelHeight, bool bold = false);

} // namespace kwizmar
