#pragma once

#include <QWidget>

namespace kwizmar {

// The picture shown while the program creates its windows.
class TSplash final : public QWidget {
public:
    TSplash();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kwizmar
