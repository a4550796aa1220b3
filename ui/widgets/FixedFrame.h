#pragma once

#include <QSize>

class QWidget;

namespace kwizmar {

// Makes `window` a top-level window of the fixed `size` in a frame that can't
// be resized: a title bar with the system menu, the minimise and the close
// box; no maximise box and no resize handles. Call before the window is shown.
void SetFixedFrame(QWidget& window, QSize size);

// The window system's part of SetFixedFrame, one for each system: whatever
// the window flags and the fixed size alone don't tell its window manager.
void AskWindowSystemForFixedFrame(QWidget& window);

} // namespace kwizmar
