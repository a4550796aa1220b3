#pragma once

#include "Registry.h"

#include <mutex>
#include <set>
#include <string>
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
//   unreadable or damaged since the key was opened, throws EFailedToSetData.
//   A file that can't be understood when the key is opened is set aside, so
//   that a bad line never keeps the program from its work: its bytes are kept
//   beside it as Kwizmar.reg.uszkodzony-<yyyy-mm-dd-hhmmss> (with "-2", "-3"
//   ... after a name already taken), the file starts again empty and the key
//   opens empty. Where no copy can be made (a read-only folder), the file is
//   left as it is and, for the rest of the run, its key opens empty and can't
//   be written. Either way the finding waits in TakeDamagedStores. A file that
//   exists but can't be read at all throws EFOpenError.
// - The machine-wide Setup key (kSetupKey under LocalMachine), read only:
//   Setup.reg under Nerbaly/ in the first folder of $XDG_CONFIG_DIRS (default
//   /etc/xdg), section
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Setup].
// - A lab's machine-wide key (kLabKey under LocalMachine), read only: the
//   section [HKEY_LOCAL_MACHINE\SOFTWARE\Nerbaly\Kwizmar] of the same file.
//   SysDir and WinDir, where the file doesn't give them, are the program's
//   data folder (DefaultDataFolder()).
// - Any other key doesn't exist: OpenKey returns null.

namespace kwizmar {

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
    std::unique_ptr<IRegistryKey> OpenDamagedSettings(const std::string& file);

    std::mutex mutex_;
    std::vector<TDamagedStore> damaged_; // not taken yet
    std::set<std::string> leftDamaged_;  // no copy could be made this run
};

} // namespace kwizmar
