#pragma once

#include <QWidget>

namespace kwizmar {

// The picture shown while the program creates its windows.
class TSplash final : public QWidget {
public:
    TSplash();
    ~TSplash() override;

    // Takes the splash off the screen while it is there. It stays on top of
    // every other window, so that a message box of the start-up would open
    // under it, its text covered: every box takes it away first.
    static void HideCurrent();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kwizmar
