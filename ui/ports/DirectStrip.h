#pragma once

#include <memory>

class QColor;
class QImage;
class QRect;
class QWidget;

namespace kwizmar {

// A strip of a window drawn straight on the window system's window, past the
// toolkit's painting: pictures kept by the window system, put together there
// and copied to the strip's place, a handful of small requests a step. It is
// what lets the exam banner move 14 times a second for the cost of the
// wake-up. Where the window system offers nothing like it (or the window is
// one it can't draw on this way) Draw says no and the caller repaints the
// strip as any widget.
class TDirectStrip {
public:
    explicit TDirectStrip(QWidget& strip);
    ~TDirectStrip();
    TDirectStrip(const TDirectStrip&) = delete;
    TDirectStrip& operator=(const TDirectStrip&) = delete;

    // Keeps `picture` as picture `index` (0 or 1) for the draws to come.
    void SetPicture(int index, const QImage& picture);
    // Draws the strip: `background` over it all, the two pictures with their
    // left edges at `xs` and their tops at `top`, then `ends` (the strip's
    // dark ends, in `endsColour`) over them. False when nothing was drawn.
    bool Draw(const QColor& background, const int xs[2], int top, const QRect ends[2],
              const QColor& endsColour);

private:
    struct TState;
    QWidget& strip_;
    std::unique_ptr<TState> state_;
};

} // namespace kwizmar
