#pragma once

#include <QWidget>

namespace kwizmar {

class Topcje final : public QWidget {
public:
    explicit Topcje(QWidget* parent = nullptr);
};

} // namespace kwizmar
