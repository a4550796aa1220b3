#include "XdgFolders.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <string_view>
#include <unistd.h>

namespace kwizmar {

namespace {

bool IsAbsolute(const char* path) {
    return path && *path == '/';
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (IsAbsolute(home))
        return home;
    // Started without a HOME (by a service, say): the user's own entry knows it.
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? std::size_t(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        IsAbsolute(found->pw_dir))
        return found->pw_dir;
    return {};
}

// `variable` when it holds an absolute path, else `underHome` in the home
// folder; empty without a home folder.
std::string UserFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (IsAbsolute(value))
        return value;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + underHome;
}

} // namespace

std::string XdgDataHome() {
    return UserFolder("XDG_DATA_HOME", "/.local/share");
}

std::string XdgConfigHome() {
    return UserFolder("XDG_CONFIG_HOME", "/.config");
}

std::string XdgFirstConfigDir() {
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    const std::string first = dirs ? std::string(dirs, std::strcspn(dirs, ":")) : std::string();
    return IsAbsolute(first.c_str()) ? first : "/etc/xdg";
}

std::vector<std::string> XdgDataDirs() {
    std::vector<std::string> dirs;
    const char* value = std::getenv("XDG_DATA_DIRS");
    std::string_view rest = value ? value : "";
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find(':'), rest.size());
        const std::string dir(rest.substr(0, end));
        if (IsAbsolute(dir.c_str()))
            dirs.push_back(dir);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    if (dirs.empty())
        dirs = {"/usr/local/share", "/usr/share"};
    return dirs;
}

} // namespace kwizmar
