#pragma once

#include <QWidget>

namespace kwizmar {

class TF_About final : public QWidget {
public:
    explicit TF_About(QWidget* parent = nullptr);
};

} // namespace kwizmar
