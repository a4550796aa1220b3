#pragma once

#include <QColor>

class QWidget;

namespace kwizmar {

// The program's look over the system's style, for every window of every
// program (the exam, the editor): the control that has the keyboard's focus
// always shows it, from the window's first moment and whether the focus came
// by a key or a click, with a frame two pixels wide in black or white,
// whichever stands out from what lies under it. Buttons, check boxes, radio
// buttons and list rows draw that frame where the style puts their focus; a
// field, a list or a drop-down list gets it on its own edge. Sizes and places
// stay the system style's. The hint in an empty field reads as well as text.
// Called once the application exists, before any window is made.
void UseProgramStyle();

// `control` fills itself to its edges (a link's text, a picture): the focus
// frame goes around it, in the room beside it.
void FrameFocusAround(QWidget* control);

// How far apart two colours stand for the eye, from 1 (alike) to 21 (black
// and white): text reads well from 4.5, an outline is seen from 3.
double Contrast(const QColor& a, const QColor& b);

// Black or white, whichever stands out more from `ground`.
QColor StandingOut(const QColor& ground);

// A quieter text than `text` on `ground`: moved towards the ground only as
// far as it still reads well.
QColor Subdued(const QColor& text, const QColor& ground);

} // namespace kwizmar
