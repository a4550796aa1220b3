#include "SpeedButton.h"

#include "Fonts.h"

namespace kwizmar {

TSpeedButton::TSpeedButton(const char* objectName, const QString& caption, const QString& hint,
                           const QIcon& glyph, QWidget* parent)
    : QToolButton(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setText(caption);
    setToolTip(hint);
    setIcon(glyph);
    setIconSize(QSize(30, 30));
    setFont(UiFont("MS Sans Serif", 11));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

} // namespace kwizmar
