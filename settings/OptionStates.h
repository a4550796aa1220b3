#pragma once

#include "Registry.h"

#include <array>
#include <functional>
#include <optional>

namespace kwizmar {

class ILockdownOperations;
class TScrollingCaption;

// The options of the program. Each is stored under its value name as a
// 32-bit integer, 1 or 0.
enum class TOption {
    Scroll,
    PZadan,
    Statystyki,
    Odp,
    DesktopEnabled,
    TaskBarEnabled,
    ShuffleQuestions,
    ShuffleAnswers,
};
inline constexpr std::size_t kOptionCount = 8;

// What changing an option does at once, besides storing it.
enum class TOptionEffect {
    None,           // read when needed (the statistics window, the exam)
    TitleScrolling, // the title scroller's Enabled
    TitleOnTaskbar, // the title scroller's IsMainWindow (the taskbar title too)
    DesktopLockdown,
    TaskbarLockdown,
};

// A control of the options window that shows an option: its check box, or one
// of its two radio buttons, which chooses `side`.
struct TOptionWidget {
    const char* name = nullptr; // the control's name; null for no control
    const char* caption = "";
    const char* hint = ""; // "" for none
    int x = 0, y = 0;      // its place in the window
    bool radio = false;
    bool side = true;
};

// One option, described once.
struct TOptionSpec {
    TOption option;
    const char* valueName;
    bool byDefault; // the state a missing value stands for
    TOptionEffect effect;
    std::array<TOptionWidget, 2> widgets; // a check box, or the false and the true radio button
    bool needsScrolling = false;          // its controls are enabled only while Scroll is on
};

// The options in the order they are applied at start-up, which is also the
// order of their controls in the options window.
inline constexpr std::array<TOptionSpec, kOptionCount> kOptions = {{
    {TOption::Scroll,
     "Scroll",
     true,
     TOptionEffect::TitleScrolling,
     {{{"CheckBox108",
        "Przewijaj tytuł programu:", "Uaktywnia opcje przewijania tytułu na pasku zadań", 16, 8}}}},
    {TOption::PZadan,
     "PZadan",
     false,
     TOptionEffect::TitleOnTaskbar,
     {{{"RadioButton34", "tylko na pasku programu",
        "Skroluje tytuł programu tylko na psaku programu", 40, 27, true, false},
       {"RadioButton35", "na pasku programu i pasku zadań",
        "Skroluje tytuł programu na psaku programu i pasku zadań", 40, 46, true, true}}},
     true},
    {TOption::Statystyki,
     "Statystyki",
     false,
     TOptionEffect::None,
     {{{"CheckBox1", "Zablokuj edytowanie statystyk", "", 16, 72}}}},
    {TOption::Odp,
     "Odp",
     false,
     TOptionEffect::None,
     {{{"CheckBox2", "Wyświetlaj każdą opowiedź w formie testowej", "", 16, 96}}}},
    {TOption::ShuffleQuestions,
     "ShuffleQuestions",
     false,
     TOptionEffect::None,
     {{{"CheckBox5", "Losowa kolejność pytań",
        "Każdy egzamin podaje pytania w innej, losowej kolejności", 16, 120}}}},
    {TOption::ShuffleAnswers,
     "ShuffleAnswers",
     false,
     TOptionEffect::None,
     {{{"CheckBox6", "Losowa kolejność odpowiedzi",
        "Każdy egzamin podaje odpowiedzi każdego pytania w innej, losowej kolejności", 16, 144}}}},
    {TOption::DesktopEnabled,
     "DesktopEnabled",
     false,
     TOptionEffect::DesktopLockdown,
     {{{"CheckBox3", "wyłącz i ukryj pulpit", "", 40, 192}}}},
    {TOption::TaskBarEnabled,
     "TaskBarEnabled",
     false,
     TOptionEffect::TaskbarLockdown,
     {{{"CheckBox4", "wyłącz i ukryj przycisk Start i cały pasek zadań", "", 40, 216}}}},
}};

const TOptionSpec& SpecOf(TOption option);

// "Scroll", "PZadan", "Statystyki", "Odp", "DesktopEnabled", "TaskBarEnabled".
inline const char* OptionValueName(TOption option) {
    return SpecOf(option).valueName;
}

// The state a missing value stands for: Scroll true, the others false.
inline bool OptionDefault(TOption option) {
    return SpecOf(option).byDefault;
}

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

// The live option states. Changing one runs its effect (kOptions; a lockdown
// locks when true) and then writes the value back. The states start as the options window
// starts: all false (the first radio button, "tylko na pasku programu", is
// PZadan false).
//
// The title scroller and the lockdown are attached by the program; without
// them those effects are skipped. An options window can use this object as its
// model: call SetOption for a click (a check box toggles its state, a radio
// button sets PZadan to its own side) and listen on OnChanged.
//
// The lab's administrator may fix an option for every user (LabSettings.h):
// it then takes only the lab's state, and is never written to the user's
// file. In a strict exam the lockdown the exam started with holds while the
// exam runs (HoldLockdown): a lockdown option that is on stays on.
class TOptionStates final : public IOptionControls {
public:
    // Reads which options the lab fixes.
    explicit TOptionStates(IRegistry& registry);

    void AttachCaption(TScrollingCaption* caption) { caption_ = caption; }
    void AttachLockdown(ILockdownOperations* lockdown) { lockdown_ = lockdown; }

    bool Get(TOption option) const { return states_[std::size_t(option)]; }
    // The lab's state of the option, where the lab fixes it.
    std::optional<bool> Fixed(TOption option) const { return fixed_[std::size_t(option)]; }
    // Whether the option can't be changed now: fixed by the lab, or a
    // lockdown held by a strict exam.
    bool Locked(TOption option) const;
    // A strict exam starts (true) or ends (false).
    void HoldLockdown(bool hold) { holdLockdown_ = hold; }
    bool LockdownHeld() const { return holdLockdown_; }

    // When `state` differs from the current one and the option takes it (not
    // Locked, or fixed to that state): stores it, runs the effect, tells
    // OnChanged, then writes the value (not for a fixed option). A write
    // that fails throws EFailedToSetData; the new state and its effect stay.
    void SetOption(TOption option, bool state) override;

    // Called after each change, before the value is written.
    std::function<void(TOption option, bool state)> OnChanged;

private:
    IRegistry& registry_;
    TScrollingCaption* caption_ = nullptr;
    ILockdownOperations* lockdown_ = nullptr;
    std::array<bool, kOptionCount> states_{};
    std::array<std::optional<bool>, kOptionCount> fixed_{};
    bool holdLockdown_ = false;
};

} // namespace kwizmar
