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
// Group Policy's place for the same values; a value there wins over the lab
// key's (Windows only: elsewhere the key never exists).
inline constexpr const char* kPolicyKey = "SOFTWARE\\Policies\\Nerbaly\\Kwizmar";
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

    // Create or replace the value, on disk at once; in memory only where the
    // registry keeps the store there for the run (TDamagedStore). Throw
    // EFailedToSetData.
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
    virtual void WriteInteger(const std::string& name, std::int32_t value) = 0;
};

// A line of a store that couldn't be understood: its number (from 1) and its
// text as read.
struct TBadLine {
    int number = 0;
    std::string text;
};

// A store of a key that the registry can't use as it should, found when the
// key was opened or written. Each is reported once; the key goes on working.
struct TDamagedStore {
    enum class TKind {
        // Some of its lines couldn't be understood: its bytes were kept under
        // a new name and the file starts again with the values that could be
        // read (none, as on a new account, where nothing could). Where no
        // copy could be made, the file is left as it was and the key is kept
        // in memory for the rest of the run, with those values.
        Damaged,
        // It exists but can't be read: the key starts empty and is kept in
        // memory for the rest of the run; the file stays untouched.
        Unreadable,
        // It can be read but not written: its values count, and what the
        // program writes is kept in memory for the rest of the run.
        ReadOnly,
    };
    TKind kind = TKind::Damaged;
    std::string file; // the store, as the program names it
    // The administrator's machine-wide file (Setup.reg with the lab's
    // values), which the program never changes: Damaged means its bad lines
    // were skipped (keptAs stays empty), Unreadable that none of it counts.
    bool machineWide = false;
    bool resultsFolderKept = false; // machineWide, Damaged: a SysDir still counts
    std::string keptAs;             // Damaged: the copy of its bytes; empty when none could be made
    std::vector<TBadLine> badLines; // Damaged: the lines that couldn't be understood
    bool valuesKept = false;        // Damaged: some values could be read and count
    // Unreadable, ReadOnly: what refuses the program (the file, the end of its
    // link or a folder above it), its owner's login name (or number) and the
    // user's own; `blocker` is empty where nobody's permission is the cause
    // (a read-only disk, a folder where the file belongs).
    std::string blocker;
    std::string owner;
    std::string user;
    bool blockerIsFolder = false;
    bool readOnlyDisk = false;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // Opens `path` (separated by "\") under `root`. With `canCreate` a missing
    // key is created; without it the key is opened for reading only (on
    // Windows a write to it fails with EFailedToSetData). Returns null when the key doesn't exist
    // (and may not be created) or can't be opened. A store that exists but can't be read or
    // understood throws (EFOpenError, ERegistryFileError), unless the registry
    // can set it aside or keep it in memory (TakeDamagedStores).
    virtual std::unique_ptr<IRegistryKey> OpenKey(TRegistryRoot root, const std::string& path,
                                                  bool canCreate) = 0;

    // The stores found damaged, unreadable or read-only since the last call,
    // each once. The system's own registry on Windows never gives any.
    virtual std::vector<TDamagedStore> TakeDamagedStores() { return {}; }
};

// The system's registry: the Windows registry on Windows, the registry files
// elsewhere. One object for the whole process; it keeps no state between
// calls, so every access sees the store as it is on disk.
IRegistry& PlatformRegistry();

} // namespace kwizmar
