#include "About.h"

namespace kwizmar {

TF_About::TF_About(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TF_About"));
    setWindowTitle(QStringLiteral("O programie ..."));
    setFixedSize(438, 300);
}

} // namespace kwizmar
