#include "Glyphs.h"

#include <QFile>

#include <array>

namespace kwizmar {

namespace {

// The pictures' names in icons/, in the order of TGlyph.
constexpr std::array<const char*, 17> kNames = {
    "options", "statistics", "start", "back",   "grades", "about", "close", "check",   "again",
    "open",    "next",       "save",  "delete", "clear",  "print", "help",  "download"};

} // namespace

QIcon Glyph(TGlyph glyph) {
    static std::array<QIcon, kNames.size()> icons;
    QIcon& icon = icons[std::size_t(glyph)];
    if (icon.isNull()) {
        // QIcon adds the @2x picture of each size itself on a 2× screen.
        const QString name =
            QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(kNames[std::size_t(glyph)]));
        for (int size : {16, 20, 30}) {
            const QString file = name.arg(size);
            if (QFile::exists(file))
                icon.addFile(file, QSize(size, size));
        }
    }
    return icon;
}

} // namespace kwizmar
