#include "Scratch.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/mount.h>

namespace {
const char* const kVariables[5] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "HOME",
                                   "KWIZMAR_LOCKDOWN_LOG"};
}

TScratch::TScratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kwizmar-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    for (int i = 0; i < 5; ++i) {
        if (const char* v = std::getenv(kVariables[i])) {
            had_[i] = true;
            saved_[i] = v;
        }
    }
    setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
    setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
    setenv("XDG_CONFIG_DIRS", ConfigDir().c_str(), 1);
    setenv("HOME", (root_ / "home").c_str(), 1);
    unsetenv("KWIZMAR_LOCKDOWN_LOG");
}

TScratch::~TScratch() {
    if (!mounted_.empty())
        umount2(mounted_.c_str(), MNT_DETACH);
    for (int i = 0; i < 5; ++i) {
        if (had_[i])
            setenv(kVariables[i], saved_[i].c_str(), 1);
        else
            unsetenv(kVariables[i]);
    }
    std::error_code ec;
    for (auto& entry : std::filesystem::recursive_directory_iterator(root_, ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(root_, ec);
}

void TScratch::SetSysDir(const std::filesystem::path& sysDir) const {
    WriteBytes(SetupFile(),
               "Windows Registry Editor Version 5.00\n\n"
               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup]\n"
               "\"SysDir\"=\"" +
                   sysDir.string() + "\"\n");
}

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

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}
