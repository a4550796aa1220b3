#pragma once

#include <QWidget>

namespace kwizmar {

class TStatystyka final : public QWidget {
public:
    explicit TStatystyka(QWidget* parent = nullptr);
};

} // namespace kwizmar
