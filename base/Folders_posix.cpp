#include "Folders.h"

#include "XdgFolders.h"

namespace kwizmar {

std::string DefaultDataFolder() {
    const std::string data = XdgDataHome();
    return data.empty() ? std::string() : data + "/Kwizmar";
}

std::string UserDataFolder() {
    return DefaultDataFolder();
}

} // namespace kwizmar
