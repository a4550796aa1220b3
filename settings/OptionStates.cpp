#include "OptionStates.h"

#include "LabSettings.h"
#include "Lockdown.h"
#include "ScrollingCaption.h"

namespace kwizmar {

const TOptionSpec& SpecOf(TOption option) {
    for (const TOptionSpec& spec : kOptions)
        if (spec.option == option)
            return spec;
    return kOptions.front(); // every option has its row
}

void WriteOption(IRegistry& registry, TOption option, bool state) {
    const auto key = registry.OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, true);
    if (!key)
        throw EFailedToSetData(OptionValueName(option));
    key->WriteInteger(OptionValueName(option), state ? 1 : 0);
}

TOptionStates::TOptionStates(IRegistry& registry)
    : registry_(registry), fixed_(ReadLabOptions(registry)) {}

bool TOptionStates::Locked(TOption option) const {
    const TOptionEffect effect = SpecOf(option).effect;
    const bool lockdown =
        effect == TOptionEffect::DesktopLockdown || effect == TOptionEffect::TaskbarLockdown;
    return Fixed(option).has_value() || (holdLockdown_ && lockdown && Get(option));
}

void TOptionStates::SetOption(TOption option, bool state) {
    if (Get(option) == state)
        return;
    const std::optional<bool> fixed = Fixed(option);
    if (fixed ? *fixed != state : Locked(option))
        return;
    states_[std::size_t(option)] = state;
    switch (SpecOf(option).effect) {
    case TOptionEffect::TitleScrolling:
        if (caption_)
            caption_->SetEnabled(state);
        break;
    case TOptionEffect::TitleOnTaskbar:
        if (caption_)
            caption_->IsMainWindow = state;
        break;
    case TOptionEffect::DesktopLockdown:
        if (lockdown_)
            DesktopLockdown(*lockdown_, state);
        break;
    case TOptionEffect::TaskbarLockdown:
        if (lockdown_)
            TaskbarLockdown(*lockdown_, state);
        break;
    case TOptionEffect::None:
        break;
    }
    if (OnChanged)
        OnChanged(option, state);
    if (!fixed)
        WriteOption(registry_, option, state);
}

} // namespace kwizmar
