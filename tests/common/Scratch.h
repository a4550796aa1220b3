#pragma once

#include <filesystem>
#include <string>

// A fresh folder per test, with the XDG folders (and HOME) pointed into it so
// that the settings, the Setup file, the data folder and the file-type
// registration all stay inside. Everything is put back and removed at the end.
class TScratch {
public:
    TScratch();
    ~TScratch();
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path ConfigHome() const { return root_ / "config"; }
    std::filesystem::path DataHome() const { return root_ / "data"; }
    std::filesystem::path ConfigDir() const { return root_ / "etc"; }
    std::filesystem::path SettingsFile() const { return ConfigHome() / "Nerbaly/Kwizmar.reg"; }
    std::filesystem::path SetupFile() const { return ConfigDir() / "Nerbaly/Setup.reg"; }

    // Writes Setup.reg naming `sysDir` as SysDir.
    void SetSysDir(const std::filesystem::path& sysDir) const;

    // Mounts a tmpfs of `bytes` at `folder` (created). False where mounting
    // isn't permitted. Unmounted at the end.
    bool MountTmpfs(const std::filesystem::path& folder, std::size_t bytes);
    // Makes a mounted folder read-only.
    bool RemountReadOnly();

private:
    std::filesystem::path root_;
    std::filesystem::path mounted_;
    std::string saved_[5];
    bool had_[5] = {};
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// Runs `action` with the size of files this process may write limited to
// `bytes`, so that a write past it fails as on a full disk.
template <class F> void WithFileSizeLimit(std::size_t bytes, F action);

#include <csignal>
#include <sys/resource.h>

template <class F> void WithFileSizeLimit(std::size_t bytes, F action) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    try {
        action();
    } catch (...) {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldSignal);
        throw;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
}
