#pragma once

#include <QToolButton>

namespace kwizmar {

// A flat button with its glyph above the caption, as in the left column of
// the main window. The caption's "&" gives the Alt accelerator.
class TSpeedButton final : public QToolButton {
public:
    TSpeedButton(const char* objectName, const QString& caption, const QString& hint,
                 const QIcon& glyph, QWidget* parent);
};

} // namespace kwizmar
