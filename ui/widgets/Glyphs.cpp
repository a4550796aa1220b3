#include "Glyphs.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <array>

namespace kwizmar {

namespace {

// The pictures' names in icons/, in the order of TGlyph.
constexpr std::array<const char*, 17> kNames = {
    "options", "statistics", "start", "back",   "grades", "about", "close", "check",   "again",
    "open",    "next",       "save",  "delete", "clear",  "print", "help",  "download"};

// Serves a glyph from its rendered pictures (":/icons/<name>-<size>.png" and
// "...@2x.png"), reading a picture only when a button first draws it, so that
// building the windows reads no image at all.
class TGlyphEngine final : public QIconEngine {
public:
    explicit TGlyphEngine(const char* name) : name_(QLatin1String(name)) {}

    QIconEngine* clone() const override { return new TGlyphEngine(*this); }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal scale = painter->device()->devicePixelRatio();
        QPixmap picture = pixmap(rect.size() * scale, mode, state);
        picture.setDevicePixelRatio(scale);
        painter->drawPixmap(rect, picture);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    // The picture rendered at the smallest size that covers `size` (scaled
    // down only where no rendering has that size); disabled ones greyed by
    // the style as for any icon.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int want = qMax(size.width(), size.height());
        QString best;
        int bestPixels = 0;
        for (int rendered : {16, 20, 30})
            for (int factor : {1, 2}) {
                const int pixels = rendered * factor;
                const QString file = QStringLiteral(":/icons/%1-%2%3.png")
                                         .arg(name_)
                                         .arg(rendered)
                                         .arg(factor == 2 ? QStringLiteral("@2x") : QString());
                const bool better =
                    bestPixels < want ? pixels > bestPixels : pixels >= want && pixels < bestPixels;
                if (better && QFile::exists(file)) {
                    best = file;
                    bestPixels = pixels;
                }
            }
        const QString key = best + QString::number(want) + QChar(u'0' + int(mode));
        const auto found = made_.constFind(key);
        if (found != made_.constEnd())
            return *found;
        QPixmap picture(best);
        if (bestPixels != want)
            picture = picture.scaled(want, want, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal) {
            QStyleOption option;
            option.palette = QApplication::palette();
            picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
        }
        made_.insert(key, picture);
        return picture;
    }

private:
    QString name_;
    QHash<QString, QPixmap> made_;
};

} // namespace

QIcon Glyph(TGlyph glyph) {
    static std::array<QIcon, kNames.size()> icons;
    QIcon& icon = icons[std::size_t(glyph)];
    if (icon.isNull())
        icon = QIcon(new TGlyphEngine(kNames[std::size_t(glyph)]));
    return icon;
}

} // namespace kwizmar
