#include "QtTextMeasure.h"

#include "Fonts.h"

#include <QFontMetrics>
#include <QString>

namespace kwizmar {

int TQtTextMeasure::TextWidth(std::string_view utf8, const TFontSpec& font) const {
    const QFontMetrics metrics(UiFont(font));
    return metrics.horizontalAdvance(
        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

} // namespace kwizmar
