#pragma once

#include "OptionsView.h"

#include <QWidget>

class QCheckBox;
class QRadioButton;

namespace kwizmar {

class TSpeedButton;

// The options window. From the start-up on its controls are the program's
// live option states: every click takes effect and is written at once, and
// whoever needs an option reads it here.
class Topcje final : public QWidget, public IOptionControls {
public:
    explicit Topcje(TOptionStates& states, QWidget* parent = nullptr);

    // Start-up puts the stored states in here; a control whose state changes
    // runs its action as a click would.
    void SetOption(TOption option, bool state) override;
    bool Get(TOption option) const { return logic_.Get(option); }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Act(void (TOpcjeLogic::*click)());
    void Render();

    TOpcjeLogic logic_;
    QCheckBox* CheckBox108 = nullptr;
    QRadioButton* RadioButton34 = nullptr;
    QRadioButton* RadioButton35 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
};

} // namespace kwizmar
