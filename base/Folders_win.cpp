#include "Folders.h"

#include "Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kwizmar {

// GetTempPath: the user's own folder under the profile.
std::string TempFolder() {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::temp_directory_path(ec);
    return ec ? std::string() : Utf8FromPath(p);
}

std::string DefaultDataFolder() {
    return {};
}

std::string UserDataFolder() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (!appData || !*appData)
        return {};
    return Utf8FromPath(std::filesystem::path(appData) / L"Nerbaly" / L"Kwizmar");
}

} // namespace kwizmar
