#include "Emblem.h"

#include <QPainter>
#include <QPainterPath>

namespace kwizmar {

void PaintExamSheet(QPainter& p, const QPointF& corner, qreal angle, int width, int rows) {
    const qreal step = width * 0.23;
    const qreal height = step * (rows + 0.9);
    const qreal box = width * 0.12;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(corner);
    p.rotate(angle);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(250, 250, 240));
    p.drawRect(QRectF(0, 0, width, height));
    for (int i = 0; i < rows; ++i) {
        const qreal y = step * 0.75 + i * step;
        p.setBrush(Qt::white);
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.drawRect(QRectF(width * 0.11, y, box, box));
        p.setPen(QPen(QColor(150, 150, 150), 2));
        p.drawLine(QPointF(width * 0.33, y + box / 2),
                   QPointF(width * (0.87 - (i % 2) * 0.15), y + box / 2));
        if (i != 2) { // one question left open
            p.setPen(QPen(QColor(20, 150, 40), width / 30.0, Qt::SolidLine, Qt::RoundCap));
            QPainterPath tick;
            tick.moveTo(width * 0.12, y + box * 0.45);
            tick.lineTo(width * 0.16, y + box * 0.9);
            tick.lineTo(width * 0.25, y - box * 0.2);
            p.drawPath(tick);
        }
    }
    p.restore();
}

} // namespace kwizmar
