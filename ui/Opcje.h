#pragma once

#include "OpcjeLogic.h"

#include <QWidget>

#include <functional>
#include <vector>

class QAbstractButton;
class QLabel;

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
    // Under the lockdown's boxes while the desktop won't let them act; an
    // empty note hides it.
    void ShowLockdownNote(const QString& note);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Act(const std::function<void()>& click);
    void Render();

    TOpcjeLogic logic_;
    std::vector<QAbstractButton*> controls_; // the options' check boxes and radio buttons
    TSpeedButton* SpeedButton1 = nullptr;
    QLabel* LockdownNote = nullptr;
    QLabel* LabNote = nullptr;
};

} // namespace kwizmar
