#include "Splash.h"

#include "Fonts.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include <KwizmarVersion.h>

namespace kwizmar {

TSplash::TSplash()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Splash"));
    setWindowTitle(QStringLiteral("Splash"));
    setFixedSize(300, 150);
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TSplash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0x00, 0x20, 0x70));
    sky.setColorAt(1, QColor(0x00, 0x70, 0xB0));
    painter.fillRect(rect(), sky);

    // A sheet of test questions with ticked boxes.
    painter.save();
    painter.translate(28, 26);
    painter.rotate(-8);
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    painter.setBrush(QColor(0xFA, 0xFA, 0xF0));
    painter.drawRect(0, 0, 70, 92);
    for (int row = 0; row < 4; ++row) {
        const int y = 12 + row * 20;
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(8, y, 10, 10);
        painter.drawLine(24, y + 3, 62, y + 3);
        painter.drawLine(24, y + 8, 52, y + 8);
        if (row != 2) {
            painter.setPen(QPen(QColor(0xC0, 0x10, 0x10), 2.2));
            painter.drawLine(9, y + 5, 13, y + 9);
            painter.drawLine(13, y + 9, 20, y - 2);
            painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
        }
    }
    painter.restore();

    painter.setPen(QColor(0xFF, 0xFF, 0x90));
    painter.setFont(UiFont("Times New Roman", 38, true));
    painter.drawText(QRect(112, 22, 180, 44), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Kwizmar"));
    painter.setPen(Qt::white);
    painter.setFont(UiFont("Times New Roman", 30, true));
    painter.drawText(QRect(112, 64, 180, 36), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("2002"));
    painter.setFont(UiFont("MS Sans Serif", 11));
    painter.drawText(QRect(112, 104, 180, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Nerbaly · wersja %1").arg(QLatin1String(kVersionText)));
    painter.drawText(QRect(112, 122, 180, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Uruchamianie programu ..."));
    painter.setPen(QColor(0x00, 0x10, 0x40));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace kwizmar
