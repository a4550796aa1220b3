#include "Fonts.h"

#include <QFontDatabase>
#include <QHash>

namespace kwizmar {

namespace {

constexpr double kPointsPerInch = 72;
constexpr double kDesignDpi = 96;

QString SystemFamily(const QString& family) {
    static QHash<QString, QString> cache;
    const auto found = cache.constFind(family);
    if (found != cache.constEnd())
        return *found;
    QString mapped;
    const QStringList available = QFontDatabase::families();
    if (family == QLatin1String("Times New Roman")) {
        mapped = available.contains(QStringLiteral("Liberation Serif"))
                     ? QStringLiteral("Liberation Serif")
                     : QStringLiteral("serif");
    } else if (family == QLatin1String("MS Sans Serif")) {
        mapped = available.contains(QStringLiteral("Liberation Sans"))
                     ? QStringLiteral("Liberation Sans")
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    } else {
        mapped = family;
    }
    cache.insert(family, mapped);
    return mapped;
}

} // namespace

QFont UiFont(const TFontSpec& spec) {
    QFont font(SystemFamily(QString::fromStdString(spec.family)));
    // The windows' sizes are given as pixels on a screen of 96 dots per inch;
    // in points they follow the desktop's text size (the screen's logical
    // dots per inch), and at 96 they are those pixels exactly.
    font.setPointSizeF(spec.pixelHeight * kPointsPerInch / kDesignDpi);
    font.setBold(spec.bold);
    return font;
}

QFont UiFont(const char* family, int pixelHeight, bool bold) {
    return UiFont(TFontSpec{family, pixelHeight, bold});
}

} // namespace kwizmar
