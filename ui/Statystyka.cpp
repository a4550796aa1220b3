#include "Statystyka.h"

namespace kwizmar {

TStatystyka::TStatystyka(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TStatystyka"));
    setWindowTitle(QStringLiteral("Statystyka"));
    setFixedSize(544, 375);
}

} // namespace kwizmar
