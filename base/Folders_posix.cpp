#include "Folders.h"

#include "XdgFolders.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace kwizmar {

namespace {

// A real folder (not a link to one) of this user's that nobody else may write
// into.
bool IsOwnPrivateFolder(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A folder to make our own folder in: one whose entries others can't rename
// or remove (this user's or the system's, and sticky where others may write).
bool IsSafeParent(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if (st.st_uid != geteuid() && st.st_uid != 0)
        return false;
    return (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 || (st.st_mode & S_ISVTX) != 0;
}

std::string SharedTempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp && tmp[0] == '/' ? tmp : "/tmp";
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    if (!IsSafeParent(base))
        base = "/tmp";
    return IsSafeParent(base) ? base : std::string();
}

// A fresh folder for this run alone, for when another user holds the name of
// ours; made again should it go, and removed at exit if left empty.
class TFreshFolder {
public:
    TFreshFolder() = default;
    ~TFreshFolder() {
        if (!path_.empty())
            rmdir(path_.c_str());
    }
    TFreshFolder(const TFreshFolder&) = delete;
    TFreshFolder& operator=(const TFreshFolder&) = delete;

    std::string In(const std::string& base) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!path_.empty() && IsOwnPrivateFolder(path_))
            return path_;
        std::string pattern = base + "/kwizmar-XXXXXX";
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
        return path_;
    }

private:
    std::mutex mutex_;
    std::string path_;
};

} // namespace

std::string TempFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && IsOwnPrivateFolder(runtime))
        return runtime;

    const std::string base = SharedTempFolder();
    if (base.empty())
        return {};
    const std::string own = base + "/kwizmar-" + std::to_string(geteuid());
    if ((mkdir(own.c_str(), 0700) == 0 || errno == EEXIST) && IsOwnPrivateFolder(own))
        return own;
    static TFreshFolder fresh;
    return fresh.In(base);
}

std::string DefaultDataFolder() {
    const std::string data = XdgDataHome();
    return data.empty() ? std::string() : data + "/Kwizmar";
}

std::string UserDataFolder() {
    return DefaultDataFolder();
}

} // namespace kwizmar
