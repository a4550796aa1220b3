#pragma once

#include "Registry.h"

#include <array>
#include <functional>

namespace kwizmar {

class ILockdownOperations;
class TScrollingCaption;

// The six options of the program, in the order they are applied at start-up.
// Each is stored under its value name as a 32-bit integer, 1 or 0.
enum class TOption { Scroll, PZadan, Statystyki, Odp, DesktopEnabled, TaskBarEnabled };

inline constexpr std::array<TOption, 6> kAllOptions = {
    TOption::Scroll, TOption::PZadan,         TOption::Statystyki,
    TOption::Odp,    TOption::DesktopEnabled, TOption::TaskBarEnabled};

// "Scroll", "PZadan", "Statystyki", "Odp", "DesktopEnabled", "TaskBarEnabled".
const char* OptionValueName(TOption option);

// The state a missing value stands for: Scroll true, the others false.
bool OptionDefault(TOption option);

// Writes an option's value (1 or 0) to the settings key, creating the key when
// missing. Throws EFailedToSetData with the value's name.
void WriteOption(IRegistry& registry, TOption option, bool state);

// Whatever holds the live option states: the options window's controls, or
// TOptionStates until that window exists. Start-up puts the stored states in
// through this.
class IOptionControls {
public:
    virtual ~IOptionControls() = default;
    // Puts a state into the option's control. A control whose state changes
    // runs its action, as a click would; one that already has the state does
    // nothing.
    virtual void SetOption(TOption option, bool state) = 0;
};

// The live option states and what changing each one does:
//   Scroll          the title scroller's Enabled
//   PZadan          the title scroller's IsMainWindow (taskbar title too)
//   Statystyki, Odp nothing at once; the statistics window and the exam read
//                   the state when they need it
//   DesktopEnabled  the desktop lockdown, at once (lock when true)
//   TaskBarEnabled  the taskbar lockdown, at once (lock when true)
// and then the value is written back. The states start as the options window
// starts: all false (the first radio button, "tylko na pasku programu", is
// PZadan false).
//
// The title scroller and the lockdown are attached by the program; without
// them those effects are skipped. An options window can use this object as its
// model: call SetOption for a click (a check box toggles its state, a radio
// button sets PZadan to its own side) and listen on OnChanged.
class TOptionStates final : public IOptionControls {
public:
    explicit TOptionStates(IRegistry& registry);

    void AttachCaption(TScrollingCaption* caption) { caption_ = caption; }
    void AttachLockdown(ILockdownOperations* lockdown) { lockdown_ = lockdown; }

    bool Get(TOption option) const { return states_[std::size_t(option)]; }

    // When `state` differs from the current one: stores it, runs the effect,
    // tells OnChanged, then writes the value. A write that fails throws
    // EFailedToSetData; the new state and its effect stay.
    void SetOption(TOption option, bool state) override;

    // Called after each change, before the value is written.
    std::function<void(TOption option, bool state)> OnChanged;

private:
    IRegistry& registry_;
    TScrollingCaption* caption_ = nullptr;
    ILockdownOperations* lockdown_ = nullptr;
    std::array<bool, 6> states_{};
};

} // namespace kwizmar
