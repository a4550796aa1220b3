#include "Opcje.h"

namespace kwizmar {

Topcje::Topcje(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Topcje"));
    setWindowTitle(QStringLiteral("Nerbaly KWIZMAR 2002 - Opcje"));
    setFixedSize(407, 277);
}

} // namespace kwizmar
