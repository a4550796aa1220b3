#include "Folders.h"

#include "Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <shlobj.h>

namespace kwizmar {

// GetTempPath: the user's own folder under the profile.
std::string TempFolder() {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::temp_directory_path(ec);
    return ec ? std::string() : Utf8FromPath(p);
}

// The system's folder of the data every user shares (C:\ProgramData), as the
// shell names it.
std::string DefaultDataFolder() {
    PWSTR shared = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &shared)) && shared &&
        *shared)
        folder = Utf8FromPath(std::filesystem::path(shared) / L"Nerbaly" / L"Kwizmar");
    CoTaskMemFree(shared);
    return folder;
}

std::string UserDataFolder() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (!appData || !*appData)
        return {};
    return Utf8FromPath(std::filesystem::path(appData) / L"Nerbaly" / L"Kwizmar");
}

} // namespace kwizmar
