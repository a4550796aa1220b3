#pragma once

#include <QIcon>

// The pictures of the program's buttons: the program's own set, drawn as SVG in
// icons/ and rendered to PNG at the sizes the buttons show them, at 1× and 2×
// (icons/render.sh), and compiled into the program as resources. They look the
// same on every desktop and cost no icon-theme look-ups at start-up.

namespace kwizmar {

enum class TGlyph {
    Options,    // sliders
    Statistics, // a bar chart
    Start,      // a play triangle in a green disc
    Back,       // an arrow to the left in a blue disc
    Grades,     // a medal
    About,      // "i" in a blue disc
    Close,      // a cross in a red disc
    Check,      // a tick
    Again,      // a circling arrow
    Open,       // a folder with a test sheet
    Next,       // an arrow to the right in a blue disc
    Save,       // a diskette
    Delete,     // a bin
    Clear,      // an eraser
    Print,      // a printer
    Help,       // "?" in a blue disc
    Download,   // an arrow down into a tray
};

// The glyph with every size it is rendered at; the pictures are read when a
// button first draws them.
QIcon Glyph(TGlyph glyph);

} // namespace kwizmar
