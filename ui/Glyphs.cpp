#include "Glyphs.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace kwizmar {

namespace {

const QColor kInk(40, 40, 40);
const QColor kGreen(46, 150, 60);
const QColor kBlue(40, 90, 180);
const QColor kRed(190, 40, 40);

QPen Ink(qreal width = 1.5, const QColor& colour = kInk) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A filled circle with a white sign drawn by `sign` over it.
void Disc(QPainter& p, const QColor& colour, const std::function<void()>& sign) {
    p.setPen(Ink(1.2, colour.darker(140)));
    p.setBrush(colour);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(Ink(3, Qt::white));
    p.setBrush(Qt::NoBrush);
    sign();
}

void Letter(QPainter& p, const QString& letter) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(19);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, letter);
}

void Draw(QPainter& p, TGlyph glyph) {
    switch (glyph) {
    case TGlyph::Options:
        for (int i = 0; i < 3; ++i) {
            const qreal y = 8 + 8 * i;
            p.setPen(Ink(2));
            p.drawLine(QPointF(5, y), QPointF(27, y));
            p.setBrush(QColor(230, 230, 235));
            p.setPen(Ink(1.5));
            p.drawRoundedRect(QRectF(i == 1 ? 17 : 9 + 3 * i, y - 3.5, 6, 7), 1.5, 1.5);
        }
        break;
    case TGlyph::Statistics:
        p.setPen(Ink(1.5));
        p.drawLine(QPointF(4, 28), QPointF(28, 28));
        for (auto [x, h, colour] : {std::tuple{6.5, 9.0, kRed}, std::tuple{13.5, 17.0, kBlue},
                                    std::tuple{20.5, 13.0, kGreen}}) {
            p.setBrush(colour);
            p.drawRect(QRectF(x, 27.5 - h, 5, h));
        }
        break;
    case TGlyph::Start: {
        QPainterPath play;
        play.moveTo(9, 5);
        play.lineTo(27, 16);
        play.lineTo(9, 27);
        play.closeSubpath();
        p.setPen(Ink(1.5, kGreen.darker(140)));
        p.setBrush(kGreen);
        p.drawPath(play);
        break;
    }
    case TGlyph::Back:
        Disc(p, kGreen, [&] {
            p.drawLine(QPointF(9, 16), QPointF(23, 16));
            p.drawPolyline(QPolygonF({QPointF(15, 10), QPointF(9, 16), QPointF(15, 22)}));
        });
        break;
    case TGlyph::Next:
        Disc(p, kGreen, [&] {
            p.drawLine(QPointF(9, 16), QPointF(23, 16));
            p.drawPolyline(QPolygonF({QPointF(17, 10), QPointF(23, 16), QPointF(17, 22)}));
        });
        break;
    case TGlyph::Grades:
        p.setPen(Ink(1.2, kRed.darker(130)));
        p.setBrush(kRed);
        p.drawPolygon(QPolygonF(
            {QPointF(9, 17), QPointF(6, 29), QPointF(11, 26), QPointF(14, 29), QPointF(15, 19)}));
        p.drawPolygon(QPolygonF(
            {QPointF(23, 17), QPointF(26, 29), QPointF(21, 26), QPointF(18, 29), QPointF(17, 19)}));
        p.setPen(Ink(1.5, QColor(150, 110, 0)));
        p.setBrush(QColor(240, 190, 40));
        p.drawEllipse(QRectF(7, 3, 18, 18));
        p.setFont([] {
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setPixelSize(11);
            f.setBold(true);
            return f;
        }());
        p.drawText(QRectF(7, 3, 18, 18), Qt::AlignCenter, QStringLiteral("5"));
        break;
    case TGlyph::About:
        Disc(p, kBlue, [&] { Letter(p, QStringLiteral("i")); });
        break;
    case TGlyph::Help:
        Disc(p, kBlue, [&] { Letter(p, QStringLiteral("?")); });
        break;
    case TGlyph::Close:
        p.setPen(Ink(4.5, kRed));
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
        break;
    case TGlyph::Check:
        p.setPen(Ink(4.5, kGreen));
        p.drawPolyline(QPolygonF({QPointF(6, 17), QPointF(13, 24), QPointF(26, 8)}));
        break;
    case TGlyph::Again: {
        p.setPen(Ink(3.5, kBlue));
        p.drawArc(QRectF(6, 6, 20, 20), 90 * 16, 270 * 16);
        p.setPen(Ink(1, kBlue));
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({QPointF(16, 1.5), QPointF(22, 6), QPointF(16, 10.5)}));
        break;
    }
    case TGlyph::Open:
        p.setPen(Ink(1.2, QColor(150, 110, 0)));
        p.setBrush(QColor(225, 180, 60));
        p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(12, 8), QPointF(14, 11), QPointF(27, 11),
                                 QPointF(27, 26), QPointF(3, 26)}));
        p.setBrush(QColor(245, 205, 90));
        p.drawPolygon(
            QPolygonF({QPointF(6, 15), QPointF(30, 15), QPointF(27, 26), QPointF(3, 26)}));
        break;
    case TGlyph::Save:
        p.setPen(Ink(1.2, QColor(20, 40, 90)));
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF(
            {QPointF(4, 4), QPointF(24, 4), QPointF(28, 8), QPointF(28, 28), QPointF(4, 28)}));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 4, 14, 9));
        p.setBrush(QColor(220, 220, 225));
        p.drawRect(QRectF(8, 18, 16, 10));
        break;
    case TGlyph::Delete:
        p.setPen(Ink(1.5));
        p.setBrush(QColor(200, 200, 205));
        p.drawPolygon(QPolygonF({QPointF(8, 9), QPointF(24, 9), QPointF(22, 29), QPointF(10, 29)}));
        p.drawLine(QPointF(5, 8), QPointF(27, 8));
        p.drawLine(QPointF(13, 8), QPointF(14, 4));
        p.drawLine(QPointF(14, 4), QPointF(18, 4));
        p.drawLine(QPointF(18, 4), QPointF(19, 8));
        for (qreal x : {13.0, 16.0, 19.0})
            p.drawLine(QPointF(x, 12), QPointF(x, 26));
        break;
    case TGlyph::Clear:
        p.translate(16, 16);
        p.rotate(-35);
        p.setPen(Ink(1.5));
        p.setBrush(QColor(235, 120, 140));
        p.drawRoundedRect(QRectF(-12, -6, 14, 12), 2, 2);
        p.setBrush(QColor(240, 240, 245));
        p.drawRoundedRect(QRectF(2, -6, 10, 12), 2, 2);
        break;
    case TGlyph::Print:
        p.setPen(Ink(1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9.5, 3.5, 13, 10)); // paper going in
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(3.5, 12.5, 25, 12), 2, 2); // body
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8.5, 20.5, 15, 9)); // paper coming out
        p.setPen(Ink(1, QColor(90, 90, 90)));
        p.drawLine(QPointF(11, 24), QPointF(21, 24));
        p.drawLine(QPointF(11, 26.5), QPointF(19, 26.5));
        p.setBrush(kGreen);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(23, 15, 3, 3));
        break;
    case TGlyph::Download:
        p.setPen(Ink(3.5, kGreen));
        p.drawLine(QPointF(16, 3), QPointF(16, 18));
        p.drawPolyline(QPolygonF({QPointF(9, 12), QPointF(16, 19), QPointF(23, 12)}));
        p.setPen(Ink(2.5));
        p.drawPolyline(
            QPolygonF({QPointF(4, 20), QPointF(4, 28), QPointF(28, 28), QPointF(28, 20)}));
        break;
    }
}

QPixmap Picture(TGlyph glyph) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Draw(p, glyph);
    return pixmap;
}

} // namespace

QIcon Glyph(TGlyph glyph) {
    static QHash<int, QIcon> drawn;
    const auto found = drawn.constFind(int(glyph));
    if (found != drawn.constEnd())
        return *found;
    const QIcon icon(Picture(glyph));
    drawn.insert(int(glyph), icon);
    return icon;
}

} // namespace kwizmar
