#include "MemoryRegistry.h"

#include "Text.h"

namespace kwizmar::testing {

class TMemoryRegistry::TOpenKey final : public IRegistryKey {
public:
    explicit TOpenKey(TKey& key) : key_(key) {}

    bool ValueExists(const std::string& name) override { return Find(name) != nullptr; }

    TRegDataType GetDataType(const std::string& name) override {
        const TValue* value = Find(name);
        return value ? value->type : TRegDataType::Unknown;
    }

    std::string ReadString(const std::string& name) override {
        return Typed(name, TRegDataType::String).text;
    }

    std::int32_t ReadInteger(const std::string& name) override {
        return Typed(name, TRegDataType::Integer).integer;
    }

    void WriteString(const std::string& name, const std::string& value) override {
        key_[AsciiLowerCase(name)] = TValue{TRegDataType::String, value, 0};
    }

    void WriteInteger(const std::string& name, std::int32_t value) override {
        key_[AsciiLowerCase(name)] = TValue{TRegDataType::Integer, {}, value};
    }

private:
    const TValue* Find(const std::string& name) const {
        const auto found = key_.find(AsciiLowerCase(name));
        return found == key_.end() ? nullptr : &found->second;
    }

    const TValue& Typed(const std::string& name, TRegDataType type) const {
        const TValue* value = Find(name);
        if (!value || value->type != type)
            throw EInvalidDataType(name);
        return *value;
    }

    TKey& key_;
};

std::unique_ptr<IRegistryKey> TMemoryRegistry::OpenKey(TRegistryRoot root, const std::string& path,
                                                       bool canCreate) {
    const auto at = std::make_pair(root, AsciiLowerCase(path));
    auto found = keys_.find(at);
    if (found == keys_.end()) {
        if (!canCreate)
            return nullptr;
        found = keys_.emplace(at, TKey()).first;
    }
    return std::make_unique<TOpenKey>(found->second);
}

} // namespace kwizmar::testing
