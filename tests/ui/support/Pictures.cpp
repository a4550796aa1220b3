#include "Pictures.h"

#include <QMap>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kwizmar::testing {

namespace {

double Luminance(QRgb rgb) {
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

} // namespace

double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QImage Picture(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb Background(const QImage& picture) {
    QMap<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ++counts[picture.pixel(x, y)];
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(background))
            background = it.key();
    return background;
}

double StrongestContrast(const QImage& picture, int inset) {
    const QImage inside = picture.copy(picture.rect().adjusted(inset, inset, -inset, -inset));
    const QRgb background = Background(inside);
    double strongest = 1.0;
    for (int y = 0; y < inside.height(); ++y)
        for (int x = 0; x < inside.width(); ++x)
            strongest = std::max(strongest, Contrast(inside.pixel(x, y), background));
    return strongest;
}

} // namespace kwizmar::testing
