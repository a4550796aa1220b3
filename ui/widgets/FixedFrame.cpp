#include "FixedFrame.h"

#include <QWidget>

namespace kwizmar {

void SetFixedFrame(QWidget& window, QSize size) {
    window.setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint);
    window.setFixedSize(size);
    AskWindowSystemForFixedFrame(window);
}

} // namespace kwizmar
