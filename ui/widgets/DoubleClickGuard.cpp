#include "DoubleClickGuard.h"

#include "Widgets.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>

namespace kwizmar {

namespace {

// What a click acts on. Panels and other containers only see presses that
// their children left alone, so they never count as a second control.
bool IsClickable(QObject* object) {
    return qobject_cast<QAbstractButton*>(object) || dynamic_cast<TPressLabel*>(object);
}

} // namespace

bool TDoubleClickGuard::Swallows(QObject* watched, const QMouseEvent& event) {
    if (!IsClickable(watched) || event.button() != Qt::LeftButton)
        return false;
    const QPoint position = event.globalPosition().toPoint();
    const QStyleHints* hints = QGuiApplication::styleHints();
    const bool secondClick =
        last_ && lastTime_.isValid() && lastTime_.elapsed() < hints->mouseDoubleClickInterval() &&
        (position - lastPosition_).manhattanLength() <= hints->mouseDoubleClickDistance();
    if (secondClick && last_ != watched)
        return true;
    last_ = watched;
    lastPosition_ = position;
    lastTime_.start();
    return false;
}

} // namespace kwizmar
