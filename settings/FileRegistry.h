#pragma once

#include "RegFile.h"
#include "Registry.h"

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The registry on systems without one: one registry file per key (RegFile.h),
// found by the XDG base-directory rules, read afresh on every access.
//
// - The per-user settings key (kSettingsKey under CurrentUser):
//   $XDG_CONFIG_HOME/Nerbaly/Kwizmar.reg (default ~/.config/...), section
//   [HKEY_CURRENT_USER\Software\Nerbaly\Kwizmar]. It always opens; the file and
//   its folder are made by the first write, and an empty file is an empty key.
//   Without a home folder (XdgFolders.h) there is no file: the key opens
//   empty and can't be written.
//   Every write re-reads the file under a lock (Kwizmar.reg.lock beside it),
//   changes the one value and replaces the file atomically (through a symbolic
//   link, which stays). A write that fails, also because the file has become
//   damaged since the key was opened, throws EFailedToSetData, but for the
//   permissions below.
//   A file with lines that can't be understood when the key is opened is set
//   aside, so that a bad line never keeps the program from its work nor costs
//   more than itself: its bytes are kept beside it as
//   Kwizmar.reg.uszkodzony-<yyyy-mm-dd-hhmmss> (with "-2", "-3" ... after a
//   name already taken), the file starts again with every line that could be
//   read (TRegFile::Salvage) and the key opens with those values.
//   Neither may a file the user has no right to keep the program from its
//   work. A file that exists but can't be read, one that can't be set aside
//   (a read-only folder), and one whose write is refused for want of a
//   permission (a file or folder of another user, a link to an
//   administrator's read-only file, a read-only disk) are kept in memory for
//   the rest of the run: the key opens with what could be read (the values of
//   a read-only or damaged file, nothing of an unreadable one), and writes
//   change the values in memory, never the file. A write that fails for any
//   other cause (a full disk) throws EFailedToSetData as above. Each finding
//   waits once in TakeDamagedStores.
// - The machine-wide Setup key (kSetupKey under LocalMachine), read only:
//   Setup.reg under Nerbaly/ in the first folder of $XDG_CONFIG_DIRS (default
//   /etc/xdg), section
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Setup].
//   A line of it that can't be understood is skipped and the rest counts; a
//   file that can't be read counts as none. Either is told once a run
//   (TDamagedStore::machineWide); the file is never changed.
// - A lab's machine-wide key (kLabKey under LocalMachine), read only: the
//   section [HKEY_LOCAL_MACHINE\SOFTWARE\Nerbaly\Kwizmar] of the same file.
//   SysDir and WinDir, where the file doesn't give them, are the program's
//   data folder (DefaultDataFolder()).
// - Any other key doesn't exist: OpenKey returns null.

namespace kwizmar {

class TFileKey;

class TFileRegistry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenKey(TRegistryRoot root, const std::string& path,
                                          bool canCreate) override;
    std::vector<TDamagedStore> TakeDamagedStores() override;

    // Where the two files are, by the environment of the moment; no settings
    // file without a home folder.
    static std::string SettingsFile();
    static std::string SetupFile();

private:
    friend class TFileKey;

    // A settings file kept in memory for the rest of the run.
    struct TRunValues {
        bool fileCounts = false; // its own values are read under the ones below
        std::vector<std::pair<std::string, TRegValue>> written; // this run's, in order
    };

    std::unique_ptr<IRegistryKey> OpenSettings(const std::string& file);
    TRegFile LoadSetup(const std::string& file);
    std::unique_ptr<IRegistryKey> OpenDamagedSettings(const std::string& file);
    // With mutex_ held.
    std::unique_ptr<IRegistryKey> OpenInMemory(const std::string& file, const TRunValues& values);

    // For the keys' writes. KeepIfInMemory keeps the value where the file is
    // kept in memory already, and returns whether it was; KeepAfterFailure,
    // after a write that failed, keeps the file in memory from then on, with a
    // notice naming the cause where it can be told (a permission, a read-only
    // disk).
    bool KeepIfInMemory(const std::string& file, const std::string& name, const TRegValue& value);
    void KeepAfterFailure(const std::string& file, const std::string& name, const TRegValue& value);

    std::mutex mutex_;
    std::vector<TDamagedStore> damaged_;         // not taken yet
    std::map<std::string, TRunValues> inMemory_; // by file
    std::set<std::string> toldSetup_;            // Setup files whose damage was told
};

} // namespace kwizmar
