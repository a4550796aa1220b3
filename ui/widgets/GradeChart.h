#pragma once

#include "ClassSummary.h"

#include <QWidget>

class QPainter;
class QRectF;

namespace kwizmar {

// The grades of a class as a bar chart: one bar per grade of the scale,
// "niedostateczny" to "celujący", with its count above it and the grade's
// name under it. Drawn in `area` with the painter's font, so the same chart
// serves the screen at any scale and the printed page.
void DrawGradeChart(QPainter& painter, const QRectF& area, const TClassSummary& summary);

// The chart as a widget.
class TGradeChart final : public QWidget {
public:
    explicit TGradeChart(QWidget* parent);
    void SetSummary(const TClassSummary& summary);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TClassSummary summary_;
};

} // namespace kwizmar
