#include "Folders.h"

#include "Paths.h"

#include <cstdlib>
#include <filesystem>

namespace kwizmar {

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
