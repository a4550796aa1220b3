#pragma once

#include "Registry.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace kwizmar::testing {

// A registry kept in memory, so that what reads and writes settings can be
// tested on every system without touching the system's own registry. Keys
// exist once created (OpenKey with canCreate); key paths and value names
// match without regard to case, as in the registry. Values keep their type,
// so EInvalidDataType happens as it does for real. Nothing ever fails to be
// written.
class TMemoryRegistry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenKey(TRegistryRoot root, const std::string& path,
                                          bool canCreate) override;

private:
    struct TValue {
        TRegDataType type = TRegDataType::Unknown;
        std::string text;
        std::int32_t integer = 0;
    };
    using TKey = std::map<std::string, TValue>; // by the value's name in lower case
    class TOpenKey;

    std::map<std::pair<TRegistryRoot, std::string>, TKey> keys_; // by the path in lower case
};

} // namespace kwizmar::testing
