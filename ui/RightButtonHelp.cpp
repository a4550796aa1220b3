#include "RightButtonHelp.h"

#include "ContextHelp.h"
#include "HelpPanel.h"

#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

namespace kwizmar {

TRightButtonHelp::TRightButtonHelp(QWidget* window, TLookup lookup)
    : QObject(window), window_(window), lookup_(std::move(lookup)), panel_(new THelpPanel(window)) {
    panel_->OnMouseMove([this] { panel_->hide(); });
}

void TRightButtonHelp::Watch(QWidget* control) {
    control->installEventFilter(this);
    for (QWidget* inner : control->findChildren<QWidget*>())
        inner->installEventFilter(this);
}

bool TRightButtonHelp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress ||
        !(static_cast<QMouseEvent*>(event)->buttons() & Qt::RightButton))
        return QObject::eventFilter(watched, event);
    // An inner widget (a date field's line edit) speaks for its field.
    const THelpEntry* entry = nullptr;
    for (QObject* o = watched; o && o != window_ && !entry; o = o->parent())
        entry = lookup_(o->objectName().toStdString());
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!entry || !widget || !widget->isEnabled())
        return QObject::eventFilter(watched, event);
    panel_->SetLines(QString::fromUtf8(entry->H1), QString::fromUtf8(entry->H2),
                     QString::fromUtf8(entry->H3), window_->width() - 16);
    const QRect outer = window_->frameGeometry();
    const QPoint pointer = QCursor::pos();
    const THelpPlacement place = PlaceHelpPanel(
        {pointer.x(), pointer.y()}, {outer.x(), outer.y(), outer.width(), outer.height(), window_->width(),
         window_->height()},
        panel_->width(), panel_->height());
    panel_->move(place.left, place.top);
    panel_->raise();
    panel_->show();
    return true; // the control's own menu, if any, doesn't come up as well
}

} // namespace kwizmar
