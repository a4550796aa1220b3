#pragma once

#include <QImage>
#include <QRgb>

class QWidget;

// Colours as the eye tells them apart, measured on what a widget draws.
namespace kwizmar::testing {

// How far apart two colours stand, from 1 (alike) to 21 (black and white):
// text reads well from 4.5, an outline is seen from 3.
double Contrast(QRgb a, QRgb b);

// What the widget draws, as plain pixels.
QImage Picture(QWidget* widget);

// The commonest colour of the picture: the ground its text lies on.
QRgb Background(const QImage& picture);

// How well the picture's text stands out: the strongest contrast of a pixel
// against the ground, both taken `inset` pixels inside the picture's edges.
double StrongestContrast(const QImage& picture, int inset = 0);

} // namespace kwizmar::testing
