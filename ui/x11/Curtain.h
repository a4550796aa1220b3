#pragma once

#include <QWidget>

namespace kwizmar {

// What the X11 lockdown puts over the desktop and the panels: the program's
// name on a plain colour, in a frameless window that takes no focus, swallows
// the clicks and can't be closed from outside.
class TCurtain final : public QWidget {
public:
    // `own`: outside the window manager (override-redirect), kept in its
    // place by the program itself.
    explicit TCurtain(bool own);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent*) override {}
    void closeEvent(QCloseEvent* event) override;
};

} // namespace kwizmar
