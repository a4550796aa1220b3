#pragma once

#include "OptionStates.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kwizmar {

// One check box or radio button of the options window as the rules see it.
struct TOptionControl {
    bool checked = false;
    bool enabled = true;
    bool fixed = false; // by the lab's administrator
};

// The controls of the options window in their order (kOptions), by name.
struct TOpcjeView {
    std::vector<std::pair<std::string, TOptionControl>> controls;
    // The control `name`; throws std::out_of_range for a name it hasn't.
    const TOptionControl& operator[](std::string_view name) const;
    // Under the options: why some can't be changed; empty when all can.
    std::string note;
};

inline constexpr const char* kFixedByLabText = "Ustawione przez administratora pracowni.";

// The options window's rules over the live option states. The controls are
// the states: a check box is checked when its option is true, the first radio
// button when PZadan is false, the second when it is true; both radio buttons
// are enabled exactly while title scrolling is on, and keep their choice while
// disabled.
//
// An option the lab fixes, or a lockdown a strict exam holds, is disabled and
// the note says why.
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

    // A click on the control `name` (kOptions): a check box flips its option,
    // a radio button chooses its side. A name of no control does nothing.
    void Click(std::string_view name);

    bool Get(TOption option) const { return states_.Get(option); }
    TOpcjeView view() const;

private:
    TOptionStates& states_;
};

} // namespace kwizmar
