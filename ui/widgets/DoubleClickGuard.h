#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QPointer>

class QMouseEvent;
class QObject;

namespace kwizmar {

// A double-click is one act on one control. Its first click may hide the
// control under the pointer and show or move another there ("O&K" of the
// verdict gives way to the answer rows, "&Start" to "&Powrót ..."); the second
// click must not then act on that other control.
//
// Swallows a press (or double-click) on a button or a clickable text that
// follows, within the double-click time and distance, a press on another one.
class TDoubleClickGuard {
public:
    // True when the press `event` on `watched` must not reach it.
    bool Swallows(QObject* watched, const QMouseEvent& event);

private:
    QPointer<QObject> last_;
    QPoint lastPosition_;
    QElapsedTimer lastTime_;
};

} // namespace kwizmar
