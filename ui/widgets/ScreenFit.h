#pragma once

#include <QSize>

class QWidget;

namespace kwizmar {

// Gives the window `wanted` as its size, or as much of it as the screen's free
// area (without the desktop's panels) takes with the window manager's frame
// around it, and puts the framed window in the middle of that area. A window
// of a fixed size keeps it. Where the frame is not yet known (a window not yet
// shown), room is kept for a title bar; once the window is on screen and its
// frame turns out larger, the window is fitted again.
void PlaceOnScreen(QWidget* window, QSize wanted);

} // namespace kwizmar
