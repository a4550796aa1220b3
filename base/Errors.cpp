#include "Errors.h"

namespace kwizmar {

EFOpenError::EFOpenError(const std::string& path) : EPlatformError("Cannot open file " + path) {}

EFCreateError::EFCreateError(const std::string& path)
    : EPlatformError("Cannot create file " + path) {}

EFCreateError::EFCreateError(const std::string& path, const std::string& note)
    : EPlatformError("Cannot create file " + path + "\n\n" + note) {}

EFCreateError::EFCreateError(const std::string& path, std::error_code cause)
    : EPlatformError("Cannot create file " + path), cause_(cause) {}

EConvertError EConvertError::NotAnInteger(const std::string& text) {
    return EConvertError("'" + text + "' is not a valid integer value");
}

EInvalidDataType::EInvalidDataType(const std::string& valueName)
    : EPlatformError("Invalid data type for '" + valueName + "'") {}

EFailedToSetData::EFailedToSetData(const std::string& valueName)
    : EPlatformError("Failed to set data for '" + valueName + "'") {}

} // namespace kwizmar
