#include "Splash.h"

#include "Emblem.h"
#include "Fonts.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include <KwizmarVersion.h>

namespace kwizmar {

namespace {
TSplash* current = nullptr; // the one splash of the process, while it exists
} // namespace

TSplash::TSplash()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Splash"));
    setWindowTitle(QStringLiteral("Splash"));
    setFixedSize(300, 150);
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    current = this;
}

TSplash::~TSplash() {
    if (current == this)
        current = nullptr;
}

void TSplash::HideCurrent() {
    if (current)
        current->hide();
}

void TSplash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0x00, 0x20, 0x70));
    sky.setColorAt(1, QColor(0x00, 0x70, 0xB0));
    painter.fillRect(rect(), sky);

    PaintExamSheet(painter, QPointF(28, 26), -8, 70, 4);

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
