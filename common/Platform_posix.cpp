#include "Platform.h"

#include "Paths.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace kwizmar {

std::string ProgramFilePath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : Utf8FromPath(self);
}

bool IsOnLine() {
    return true;
}

std::string DefaultDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return std::string(data) + "/Kwizmar";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/Kwizmar";
}

std::string UserDataFolder() {
    return DefaultDataFolder();
}

} // namespace kwizmar
