#pragma once

#include <QToolButton>

namespace kwizmar {

// A flat button with its glyph above the caption, as in the left column of
// the main window. The caption's "&" gives the Alt accelerator. The button
// draws itself: flat at rest, a raised bevel under the pointer, sunken when
// pressed, and in each state a caption that can be read on what lies under
// it (a white caption on the verdict's dark panel, a black one in the
// column); a disabled caption is dimmed, never faded out.
class TSpeedButton final : public QToolButton {
public:
    TSpeedButton(const char* objectName, const QString& caption, const QString& hint,
                 const QIcon& glyph, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kwizmar
