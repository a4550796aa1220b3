#pragma once

#include <QIcon>

// The pictures of the program's buttons, drawn by the program itself: they
// look the same on every desktop, and drawing them takes a fraction of what
// loading a style's icon files does at start-up.

namespace kwizmar {

enum class TGlyph {
    Options,    // sliders
    Statistics, // a bar chart
    Start,      // a play triangle
    Back,       // an arrow to the left in a circle
    Grades,     // a medal
    About,      // "i" in a circle
    Close,      // a cross
    Check,      // a tick
    Again,      // a circling arrow
    Open,       // a folder
    Next,       // an arrow to the right in a circle
    Save,       // a diskette
    Delete,     // a bin
    Clear,      // an eraser
    Print,      // a printer
    Help,       // "?" in a circle
    Download,   // an arrow down into a tray
};

// The glyph at 32 × 32 pixels, drawn once per run.
QIcon Glyph(TGlyph glyph);

} // namespace kwizmar
