#pragma once

#include <QFrame>

#include <array>

class QLabel;

namespace kwizmar {

class TShadowLabel;

// The summary page (Panel4): six lines about the finished exam, a note while
// its result is on its way to the log (LabelZapis), and the grade scale
// (Panel8) laid over them while "Oceny" is held.
class TSummaryPage final : public QFrame {
public:
    explicit TSummaryPage(QWidget* parent);

    std::array<TShadowLabel*, 6> RxLabel{}; // RxLabel5 … RxLabel10
    QLabel* LabelZapis = nullptr;
    QLabel* Proba = nullptr; // shown in a trial run of the test editor
    QFrame* Panel8 = nullptr;
    QLabel* Label25 = nullptr;
};

} // namespace kwizmar
