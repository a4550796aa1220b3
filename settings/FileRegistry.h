#pragma once

#include "Registry.h"

#include <string>

// The registry on systems without one: one registry file per key (RegFile.h),
// found by the XDG base-directory rules, read afresh on every access.
//
// - The per-user settings key (kSettingsKey under CurrentUser):
//   $XDG_CONFIG_HOME/Nerbaly/Kwizmar.reg (default ~/.config/...), section
//   [HKEY_CURRENT_USER\Software\Nerbaly\Kwizmar]. It always opens; the file and
//   its folder are made by the first write. Every write re-reads the file under
//   a lock (Kwizmar.reg.lock beside it), changes the one value and replaces the
//   file atomically; a file that can't be understood is reported
//   (ERegistryFileError) and never written over.
// - The machine-wide Setup key (kSetupKey under LocalMachine), read only:
//   Setup.reg under Nerbaly/ in the first folder of $XDG_CONFIG_DIRS (default
//   /etc/xdg), section
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Setup].
//   SysDir and WinDir, where the file doesn't give them, are the program's
//   data folder (DefaultDataFolder()).
// - Any other key doesn't exist: OpenKey returns null.

namespace kwizmar {

class TFileRegistry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenKey(TRegistryRoot root, const std::string& path,
                                          bool canCreate) override;

    // Where the two files are, by the environment of the moment.
    static std::string SettingsFile();
    static std::string SetupFile();
};

} // namespace kwizmar
