#include "OptionStates.h"

#include "Lockdown.h"
#include "ScrollingCaption.h"

namespace kwizmar {

const char* OptionValueName(TOption option) {
    switch (option) {
    case TOption::Scroll:
        return "Scroll";
    case TOption::PZadan:
        return "PZadan";
    case TOption::Statystyki:
        return "Statystyki";
    case TOption::Odp:
        return "Odp";
    case TOption::DesktopEnabled:
        return "DesktopEnabled";
    case TOption::TaskBarEnabled:
        return "TaskBarEnabled";
    }
    return "";
}

bool OptionDefault(TOption option) {
    return option == TOption::Scroll;
}

void WriteOption(IRegistry& registry, TOption option, bool state) {
    const auto key = registry.OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, true);
    if (!key)
        throw EFailedToSetData(OptionValueName(option));
    key->WriteInteger(OptionValueName(option), state ? 1 : 0);
}

TOptionStates::TOptionStates(IRegistry& registry) : registry_(registry) {}

void TOptionStates::SetOption(TOption option, bool state) {
    if (Get(option) == state)
        return;
    states_[std::size_t(option)] = state;
    switch (option) {
    case TOption::Scroll:
        if (caption_)
            caption_->SetEnabled(state);
        break;
    case TOption::PZadan:
        if (caption_)
            caption_->IsMainWindow = state;
        break;
    case TOption::DesktopEnabled:
        if (lockdown_)
            DesktopLockdown(*lockdown_, state);
        break;
    case TOption::TaskBarEnabled:
        if (lockdown_)
            TaskbarLockdown(*lockdown_, state);
        break;
    case TOption::Statystyki:
    case TOption::Odp:
        break;
    }
    if (OnChanged)
        OnChanged(option, state);
    WriteOption(registry_, option, state);
}

} // namespace kwizmar
