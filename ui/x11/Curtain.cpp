#include "Curtain.h"

#include "ErrorHandler.h"
#include "Settings.h"

#include <QCloseEvent>
#include <QPainter>

#include <algorithm>

namespace kwizmar {

TCurtain::TCurtain(bool own)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                           (own ? Qt::X11BypassWindowManagerHint : Qt::WindowStaysOnTopHint)) {
    setObjectName(QStringLiteral("Curtain"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(ApplicationTitle());
    setCursor(Qt::ArrowCursor);
}

void TCurtain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 64, 128));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(16, height() / 12));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(160, 190, 220));
    // Above the middle, where the main window doesn't hide it.
    painter.drawText(QRect(0, 0, width(), height() / 5), Qt::AlignCenter,
                     QString::fromUtf8(kApplicationTitle));
}

void TCurtain::closeEvent(QCloseEvent* event) {
    event->ignore();
}

} // namespace kwizmar
