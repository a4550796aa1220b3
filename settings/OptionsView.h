#pragma once

#include "OptionStates.h"

namespace kwizmar {

// One check box or radio button of the options window as the rules see it.
struct TOptionControl {
    bool checked = false;
    bool enabled = true;
};

// The controls of the options window, by their names.
struct TOpcjeView {
    TOptionControl CheckBox108;   // "Przewijaj tytuł programu:"        Scroll
    TOptionControl RadioButton34; // "tylko na pasku programu"          PZadan false
    TOptionControl RadioButton35; // "na pasku programu i pasku zadań"  PZadan true
    TOptionControl CheckBox1;     // "Zablokuj edytowanie statystyk"    Statystyki
    TOptionControl CheckBox2;     // "Wyświetlaj każdą opowiedź ..."    Odp
    TOptionControl CheckBox3;     // "wyłącz i ukryj pulpit"            DesktopEnabled
    TOptionControl CheckBox4;     // "wyłącz i ukryj przycisk Start ..." TaskBarEnabled
};

// The options window's rules over the live option states. The controls are
// the states: a check box is checked when its option is true, the first radio
// button when PZadan is false, the second when it is true; both radio buttons
// are enabled exactly while title scrolling is on, and keep their choice while
// disabled.
//
// A click on a check box flips its option; a click on a radio button chooses
// its side and does nothing when that side is already chosen. Every change
// runs the option's effect and writes its value (TOptionStates::SetOption),
// which throws EFailedToSetData when the write fails; the new state and its
// effect stay.
class TOpcjeLogic final : public IOptionControls {
public:
    explicit TOpcjeLogic(TOptionStates& states) : states_(states) {}

    // Start-up puts the stored states in here: a control whose state changes
    // runs its action, one set to the state it has does nothing.
    void SetOption(TOption option, bool state) override { states_.SetOption(option, state); }

    void CheckBox108Click() { Flip(TOption::Scroll); }
    void RadioButton34Click() { states_.SetOption(TOption::PZadan, false); }
    void RadioButton35Click() { states_.SetOption(TOption::PZadan, true); }
    void CheckBox1Click() { Flip(TOption::Statystyki); }
    void CheckBox2Click() { Flip(TOption::Odp); }
    void CheckBox3Click() { Flip(TOption::DesktopEnabled); }
    void CheckBox4Click() { Flip(TOption::TaskBarEnabled); }

    bool Get(TOption option) const { return states_.Get(option); }
    TOpcjeView view() const;

private:
    void Flip(TOption option) { states_.SetOption(option, !states_.Get(option)); }

    TOptionStates& states_;
};

} // namespace kwizmar
