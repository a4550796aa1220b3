#include "Registry.h"

namespace kwizmar {

EInvalidDataType::EInvalidDataType(const std::string& valueName)
    : EPlatformError("Invalid data type for '" + valueName + "'") {}

EFailedToSetData::EFailedToSetData(const std::string& valueName)
    : EPlatformError("Failed to set data for '" + valueName + "'") {}

} // namespace kwizmar
