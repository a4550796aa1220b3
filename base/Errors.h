#pragma once

#include <stdexcept>
#include <string>
#include <system_error>

// Failures of the platform (files, number conversion, the registry) travel as
// exceptions carrying the exact text the user sees; one handler in the
// application shows them in an error box. Whatever an action did before the
// throw stays done.

namespace kwizmar {

class EPlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file %s"
class EFOpenError : public EPlatformError {
public:
    explicit EFOpenError(const std::string& path);
};

// "Cannot create file %s"
class EFCreateError : public EPlatformError {
public:
    explicit EFCreateError(const std::string& path);
    // The same text, then a blank line and `note` (what became of the data).
    EFCreateError(const std::string& path, const std::string& note);
    // The same text, knowing the system's reason, so that a caller can tell
    // the user what to do about it.
    EFCreateError(const std::string& path, std::error_code cause);
    // The system's reason where it is known, else empty.
    const std::error_code& Cause() const { return cause_; }

private:
    std::error_code cause_;
};

// "'%s' is not a valid integer value"
class EConvertError : public EPlatformError {
public:
    using EPlatformError::EPlatformError;
    static EConvertError NotAnInteger(const std::string& text);
};

// "Invalid data type for '%s'": a registry value read as one type is stored
// as another, or is missing.
class EInvalidDataType : public EPlatformError {
public:
    explicit EInvalidDataType(const std::string& valueName);
};

// "Failed to set data for '%s'": a registry value could not be written.
class EFailedToSetData : public EPlatformError {
public:
    explicit EFailedToSetData(const std::string& valueName);
};

} // namespace kwizmar
