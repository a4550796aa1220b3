#include "SpeedButton.h"

namespace kwizmar {

TSpeedButton::TSpeedButton(const char* objectName, const QString& caption, const QString& hint,
                           const QIcon& glyph, QWidget* parent)
    : QToolButton(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setText(caption);
    setToolTip(hint);
    setIcon(glyph);
    setIconSize(QSize(32, 32));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

} // namespace kwizmar
