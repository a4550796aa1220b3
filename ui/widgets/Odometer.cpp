#include "Odometer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kwizmar {

TOdometer::TOdometer(const char* name, QWidget* parent) : QWidget(parent) {
    setObjectName(QString::fromLatin1(name));
    roll_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&roll_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        shown_ = value.toDouble();
        update();
    });
}

void TOdometer::SetValue(qint64 value) {
    value = std::clamp<qint64>(value, 0, 99999999);
    target_ = value;
    roll_.stop();
    roll_.setStartValue(shown_);
    roll_.setEndValue(static_cast<double>(value));
    roll_.setDuration(static_cast<int>(qBound(300.0, std::abs(value - shown_) * 150.0, 1500.0)));
    roll_.start();
}

void TOdometer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int cell = width() / kDigits;
    const int h = height();
    QFont digitsFont = font();
    digitsFont.setPixelSize(h - 4);
    digitsFont.setBold(true);
    painter.setFont(digitsFont);

    const auto whole = static_cast<qint64>(std::floor(shown_));
    const double fraction = shown_ - static_cast<double>(whole);
    qint64 power = 1;
    for (int i = 0; i < kDigits; ++i, power *= 10) {
        const QRect box((kDigits - 1 - i) * cell, 0, cell - 1, h - 1);
        painter.fillRect(box, i == 0 ? QColor(0x80, 0, 0) : QColor(0x20, 0x20, 0x20));
        painter.setClipRect(box);
        const int digit = static_cast<int>((whole / power) % 10);
        // A wheel turns only while every wheel to its right passes from 9 to 0.
        const bool turning = (whole % power) == power - 1;
        const int offset = turning ? static_cast<int>(fraction * h) : 0;
        painter.setPen(Qt::white);
        painter.drawText(box.translated(0, -offset), Qt::AlignCenter, QString::number(digit));
        painter.drawText(box.translated(0, h - offset), Qt::AlignCenter,
                         QString::number((digit + 1) % 10));
        painter.setClipping(false);
    }
    painter.setPen(QColor(0x90, 0x90, 0x90));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace kwizmar
