#pragma once

#include <QtGlobal>

class QPainter;
class QPointF;

namespace kwizmar {

// The program's emblem, shared by the splash and the about window: an exam
// sheet with ticked answers, its top-left corner at `corner`, turned by
// `angle` degrees, `width` pixels wide with `rows` answer rows.
void PaintExamSheet(QPainter& painter, const QPointF& corner, qreal angle, int width, int rows);

} // namespace kwizmar
