#include "LabSettings.h"

#include <algorithm>

namespace kwizmar {

namespace {

std::unique_ptr<IRegistryKey> OpenLabKey(IRegistry& registry) {
    return registry.OpenKey(TRegistryRoot::LocalMachine, kLabKey, false);
}

int IntegerOf(IRegistryKey& key, const std::string& name) {
    return key.GetDataType(name) == TRegDataType::Integer ? key.ReadInteger(name) : 0;
}

} // namespace

TLabRules ReadLabRules(IRegistry& registry) noexcept {
    TLabRules rules;
    try {
        const auto key = OpenLabKey(registry);
        if (!key)
            return rules;
        rules.strictExam = IntegerOf(*key, "StrictExam") != 0;
        // A time outside the field's range is held to it, as the field does.
        const int minutes = IntegerOf(*key, "ExamMinutes");
        rules.examMinutes = minutes == 0 ? 0 : std::clamp(minutes, 5, 60);
    } catch (...) {
    }
    return rules;
}

TLabOptions ReadLabOptions(IRegistry& registry) noexcept {
    TLabOptions fixed;
    try {
        const auto key = OpenLabKey(registry);
        if (!key)
            return fixed;
        for (const TOptionSpec& spec : kOptions)
            if (key->GetDataType(spec.valueName) == TRegDataType::Integer)
                fixed[std::size_t(spec.option)] = key->ReadInteger(spec.valueName) != 0;
    } catch (...) {
    }
    return fixed;
}

std::string LabResultsFolder(IRegistry& registry) noexcept {
    try {
        const auto key = OpenLabKey(registry);
        if (key && key->GetDataType("SysDir") == TRegDataType::String)
            return key->ReadString("SysDir");
    } catch (...) {
    }
    return "";
}

} // namespace kwizmar
