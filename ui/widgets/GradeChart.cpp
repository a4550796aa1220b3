#include "GradeChart.h"

#include "GradeScale.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kwizmar {

namespace {

// From red for a fail to green for the best, so that the shape of the class
// reads at a glance, also in grey on paper.
const QColor kBarColours[7] = {QColor(0xC6, 0x28, 0x28), QColor(0xEF, 0x6C, 0x00),
                               QColor(0xF9, 0xA8, 0x25), QColor(0xC0, 0xCA, 0x33),
                               QColor(0x7C, 0xB3, 0x42), QColor(0x38, 0x8E, 0x3C),
                               QColor(0x1B, 0x5E, 0x20)};

// A step between grid lines that gives at most five of them.
int GridStep(std::size_t highest) {
    for (int step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000})
        if (highest / std::size_t(step) <= 5)
            return step;
    return int(highest / 5) + 1;
}

} // namespace

void DrawGradeChart(QPainter& painter, const QRectF& area, const TClassSummary& summary) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();
    const auto& rows = TGradeScale::Rows();
    const std::size_t highest =
        std::max<std::size_t>(1, *std::max_element(summary.grades.begin(), summary.grades.end()));
    const int step = GridStep(highest);
    const std::size_t top =
        (highest + std::size_t(step) - 1) / std::size_t(step) * std::size_t(step);

    // The axis numbers on the left, two lines of grade names at the bottom,
    // one line above the tallest bar for its count.
    const double axisWidth = metrics.horizontalAdvance(QString::number(top)) + line * 0.5;
    const QRectF plot(area.left() + axisWidth, area.top() + line, area.width() - axisWidth,
                      area.height() - line * 3.2);
    if (plot.width() <= 0 || plot.height() <= 0) {
        painter.restore();
        return;
    }
    const double unit = plot.height() / double(top);
    const QColor ink = painter.pen().color();

    QPen grid(QColor(0, 0, 0, 40));
    grid.setWidthF(std::max(1.0, line / 16));
    for (std::size_t v = 0; v <= top; v += std::size_t(step)) {
        const double y = plot.bottom() - double(v) * unit;
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(ink);
        painter.drawText(QRectF(area.left(), y - line / 2, axisWidth - line * 0.3, line),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }

    const double slot = plot.width() / double(rows.size());
    for (std::size_t g = 0; g < rows.size(); ++g) {
        const double left = plot.left() + slot * double(g);
        const double height = double(summary.grades[g]) * unit;
        const QRectF bar(left + slot * 0.15, plot.bottom() - height, slot * 0.7, height);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kBarColours[g]);
        painter.drawRect(bar);
        painter.setPen(ink);
        painter.drawText(QRectF(left, bar.top() - line, slot, line), Qt::AlignCenter,
                         QString::number(summary.grades[g]));
        painter.drawText(QRectF(left, plot.bottom() + line * 0.2, slot, line * 3),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                         QString::fromUtf8(rows[g].grade));
    }
    QPen axis(ink);
    axis.setWidthF(std::max(1.0, line / 12));
    painter.setPen(axis);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.restore();
}

TGradeChart::TGradeChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GradeChart"));
    setMinimumSize(360, 180);
}

void TGradeChart::SetSummary(const TClassSummary& summary) {
    summary_ = summary;
    update();
}

void TGradeChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    DrawGradeChart(painter, QRectF(rect()).adjusted(6, 4, -6, -4), summary_);
}

} // namespace kwizmar
