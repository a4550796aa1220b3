#pragma once

#include "TempDir.h"

#include <cstddef>
#include <filesystem>
#include <string>

// A fresh folder per test, with the user's and the system's folders (the XDG
// folders, HOME and APPDATA) pointed into it so that the settings, the Setup file, the data
// folder and the file-type registration all stay inside. Everything is put
// back and removed at the end.
class TScratch {
public:
    TScratch();
    ~TScratch();
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;

    const std::filesystem::path& Root() const { return folder_.path(); }
    std::filesystem::path ConfigHome() const { return Root() / "config"; }
    std::filesystem::path DataHome() const { return Root() / "data"; }
    std::filesystem::path ConfigDir() const { return Root() / "etc"; }
    // The system's data folder ($XDG_DATA_DIRS), where a package installs.
    std::filesystem::path SystemDataDir() const { return Root() / "usr/share"; }
    std::filesystem::path SettingsFile() const { return ConfigHome() / "Nerbaly/Kwizmar.reg"; }
    std::filesystem::path SetupFile() const { return ConfigDir() / "Nerbaly/Setup.reg"; }

    // Writes Setup.reg naming `sysDir` as SysDir.
    void SetSysDir(const std::filesystem::path& sysDir) const;

    // Mounts a tmpfs of `bytes` at `folder` (created). False where mounting
    // isn't permitted, and on systems without tmpfs. Unmounted at the end.
    bool MountTmpfs(const std::filesystem::path& folder, std::size_t bytes);
    // Makes a mounted folder read-only.
    bool RemountReadOnly();

private:
    static constexpr int kVariables = 7;

    void Unmount();

    kwizmar::testing::TTempDir folder_;
    std::filesystem::path mounted_;
    std::string saved_[kVariables];
    bool had_[kVariables] = {};
};

// The variable `name` set to `value`, or removed.
void SetEnv(const char* name, const std::string& value);
void UnsetEnv(const char* name);

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
