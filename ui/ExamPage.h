#pragma once

#include "AnswerLetters.h"

#include <QFrame>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kwizmar {

class TGaugeBar;
class TBannerStrip;
class TPressLabel;
class TShadowLabel;
class TSpeedButton;
class TTwoDigits;

// The exam page (Panel3) with its two overlays over the answers: the form
// chooser with the typed-answer field (SAMPanel) and the verdict (ODPPanel).
// Only widgets; the main window fills them from the exam's model.
class TExamPage final : public QFrame {
public:
    explicit TExamPage(QWidget* parent);

    // The banner strip, for positioning the two banner labels.
    TBannerStrip* Strip = nullptr;
    TPressLabel* naglowek1 = nullptr;
    TPressLabel* naglowek2 = nullptr;
    std::array<TPressLabel*, 3> L{}; // L1, L2, L3

    QGroupBox* GroupBox2 = nullptr;
    std::array<QRadioButton*, kAnswerCount> Answer{};    // A … E
    std::array<TPressLabel*, kAnswerCount> AnswerText{}; // odpA … odpE

    QLabel* Label13 = nullptr;
    QLabel* NrPyt = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* ZdobytoPkt = nullptr;
    QLabel* StraconoPkt = nullptr;
    QLabel* Zdobyto = nullptr;
    QLabel* OdpSam = nullptr;
    TGaugeBar* Gauge1 = nullptr;
    TGaugeBar* PytBar = nullptr;
    TGaugeBar* Gauge4 = nullptr;
    TGaugeBar* ZdobytoBar = nullptr;
    TGaugeBar* StraconoBar = nullptr;
    TTwoDigits* minuty = nullptr;
    TTwoDigits* sekundy = nullptr;

    // Answer-form overlay.
    QFrame* SAMPanel = nullptr;
    QLineEdit* SamEdit = nullptr;
    QFrame* Panel7 = nullptr;
    QLabel* LabelAdd = nullptr;
    QRadioButton* RBSam = nullptr;
    QRadioButton* RBTest = nullptr;
    TSpeedButton* SpeedButton7 = nullptr;

    // Verdict overlay.
    QFrame* ODPPanel = nullptr;
    std::array<TShadowLabel*, 4> RxLabel{}; // RxLabel1 … RxLabel4
    TSpeedButton* SpeedButton8 = nullptr;
    TSpeedButton* SpeedButton13 = nullptr;

    // Shown in a trial run of the test editor.
    QLabel* Proba = nullptr;

    // Keyboard targets below the visible area: Enter on them moves on after a
    // verdict (Next) or after a wrong typed answer (Dalej).
    QPushButton* Next = nullptr;
    QPushButton* Dalej = nullptr;

    // The question's lines as one text, as a screen reader reads it.
    QString QuestionText() const;

private:
    void BuildHeader();
    void BuildAnswers();
    void BuildStatistics();
    void BuildAnswerForm();
    void BuildVerdict();
};

} // namespace kwizmar
