#include "LabSettings.h"

#include <algorithm>

namespace kwizmar {

namespace {

// The lab's values: Group Policy's key first, then the lab key.
class TLabValues {
public:
    explicit TLabValues(IRegistry& registry)
        : policy_(registry.OpenKey(TRegistryRoot::LocalMachine, kPolicyKey, false)),
          lab_(registry.OpenKey(TRegistryRoot::LocalMachine, kLabKey, false)) {}

    // The key that gives the value `name` as `type`, or null.
    IRegistryKey* With(const std::string& name, TRegDataType type) const {
        for (IRegistryKey* key : {policy_.get(), lab_.get()})
            if (key && key->GetDataType(name) == type)
                return key;
        return nullptr;
    }
    std::optional<int> Integer(const std::string& name) const {
        if (IRegistryKey* key = With(name, TRegDataType::Integer))
            return key->ReadInteger(name);
        return std::nullopt;
    }

private:
    std::unique_ptr<IRegistryKey> policy_, lab_;
};

} // namespace

TLabRules ReadLabRules(IRegistry& registry) noexcept {
    TLabRules rules;
    try {
        const TLabValues values(registry);
        rules.strictExam = values.Integer("StrictExam").value_or(0) != 0;
        // A time outside the field's range is held to it, as the field does.
        const int minutes = values.Integer("ExamMinutes").value_or(0);
        rules.examMinutes = minutes == 0 ? 0 : std::clamp(minutes, 5, 60);
    } catch (...) {
    }
    return rules;
}

TLabOptions ReadLabOptions(IRegistry& registry) noexcept {
    TLabOptions fixed;
    try {
        const TLabValues values(registry);
        for (const TOptionSpec& spec : kOptions)
            if (const auto value = values.Integer(spec.valueName))
                fixed[std::size_t(spec.option)] = *value != 0;
    } catch (...) {
    }
    return fixed;
}

std::string LabResultsFolder(IRegistry& registry) noexcept {
    try {
        const TLabValues values(registry);
        if (IRegistryKey* key = values.With("SysDir", TRegDataType::String))
            return key->ReadString("SysDir");
    } catch (...) {
    }
    return "";
}

} // namespace kwizmar
