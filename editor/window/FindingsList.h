#pragma once

#include "DocumentChecks.h"

#include <QDialog>

#include <functional>
#include <vector>

class QListWidget;

namespace kwizmar {

// Every error and warning of the test in one list, beside the editor: Enter
// or a double click on one goes to its field. It follows the test as it is
// edited.
class TFindingsList final : public QDialog {
public:
    TFindingsList(QWidget* parent, std::function<void(TFieldRef)> goTo);
    void Show(const std::vector<TCheck>& checks);

private:
    QListWidget* list_ = nullptr;
    std::vector<TCheck> checks_;
    std::function<void(TFieldRef)> goTo_;
};

} // namespace kwizmar
