#include "Platform.h"

#include "Paths.h"

#include <filesystem>

namespace kwizmar {

std::string ProgramFilePath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : Utf8FromPath(self);
}

bool IsOnLine() {
    return true;
}

} // namespace kwizmar
