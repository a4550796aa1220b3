#include "Scratch.h"

#include <cstdlib>
#include <sys/mount.h>

bool TScratch::MountTmpfs(const std::filesystem::path& folder, std::size_t bytes) {
    std::filesystem::create_directories(folder);
    const std::string options = "size=" + std::to_string(bytes);
    if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
        return false;
    mounted_ = folder;
    return true;
}

bool TScratch::RemountReadOnly() {
    return !mounted_.empty() &&
           mount("tmpfs", mounted_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

void TScratch::Unmount() {
    umount2(mounted_.c_str(), MNT_DETACH);
}

void SetEnv(const char* name, const std::string& value) {
    setenv(name, value.c_str(), 1);
}

void UnsetEnv(const char* name) {
    unsetenv(name);
}
