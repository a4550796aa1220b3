#pragma once

#include "Errors.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The registry as the program sees it: keys under a root, holding named values
// that are either text or 32-bit integers. On Windows it is the system
// registry; elsewhere a registry file per key (see FileRegistry.h). Value texts
// are UTF-8 on every system.

namespace kwizmar {

// The per-user key of the program's settings.
inline constexpr const char* kSettingsKey = "Software\\Nerbaly\\Kwizmar";
// The machine-wide key of a lab's administrator (StrictExam, ExamMinutes and
// the results folder SysDir; see LabSettings.h). The program only reads it.
inline constexpr const char* kLabKey = "SOFTWARE\\Nerbaly\\Kwizmar";
// The machine-wide key that names the system folders (SysDir, WinDir).
inline constexpr const char* kSetupKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";

enum class TRegistryRoot { CurrentUser, LocalMachine, ClassesRoot };

enum class TRegDataType { Unknown, String, Integer, Other };

// One open key. It is meant to live only for one access, as the program opens
// a key, reads or writes, and frees it at once.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;

    virtual bool ValueExists(const std::string& name) = 0;
    // Unknown when the value doesn't exist.
    virtual TRegDataType GetDataType(const std::string& name) = 0;

    // Throw EInvalidDataType when the value is missing or of another type.
    virtual std::string ReadString(const std::string& name) = 0;
    virtual std::int32_t ReadInteger(const std::string& name) = 0;

    // Create or replace the value, on disk at once. Throw EFailedToSetData.
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
    virtual void WriteInteger(const std::string& name, std::int32_t value) = 0;
};

// A store of a key that was found damaged when the key was opened: its bytes
// were kept under a new name and the key started empty, as on a new account.
struct TDamagedStore {
    std::string file;   // the damaged file
    std::string keptAs; // the copy of its bytes; empty when none could be made,
                        // the file then left as it was and the key unwritable
};

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // Opens `path` (separated by "\") under `root`. With `canCreate` a missing
    // key is created. Returns null when the key doesn't exist (and may not be
    // created) or can't be opened. A store that exists but can't be read or
    // understood throws (EFOpenError, ERegistryFileError), unless the registry
    // can set it aside (TakeDamagedStores).
    virtual std::unique_ptr<IRegistryKey> OpenKey(TRegistryRoot root, const std::string& path,
                                                  bool canCreate) = 0;

    // The stores found damaged and set aside since the last call, each once.
    // The system's own registry on Windows never gives any.
    virtual std::vector<TDamagedStore> TakeDamagedStores() { return {}; }
};

// The system's registry: the Windows registry on Windows, the registry files
// elsewhere. One object for the whole process; it keeps no state between
// calls, so every access sees the store as it is on disk.
IRegistry& PlatformRegistry();

} // namespace kwizmar
