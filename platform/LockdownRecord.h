#pragma once

#include "Lockdown.h"

#include <functional>
#include <optional>
#include <string>

// On Windows the lockdown outlives the program: the shell's windows stay
// hidden and disabled when the program ends without lifting it (a crash, a
// kill, the session's end). So while anything is locked, a record in the
// user's own data folder names the process that holds the lockdown, and the
// next start lifts a lockdown whose holder no longer runs.

namespace kwizmar {

// The process holding a lockdown: its id and when it started, as Processes.h
// tells processes apart. A record that can't be understood names the holder
// with an empty id.
struct TLockdownHolder {
    std::string process;
    std::string start;
    bool operator==(const TLockdownHolder&) const = default;
};

// This process.
TLockdownHolder ThisLockdownHolder();

// Where the record is kept. Nothing here throws: a record that can't be
// written or removed never stands in the lockdown's way.
class ILockdownRecord {
public:
    virtual ~ILockdownRecord() = default;
    // Replaces the record with one naming `holder`.
    virtual void Write(const TLockdownHolder& holder) noexcept = 0;
    // The holder the record names; nothing when there is no record (or it
    // can't be read).
    virtual std::optional<TLockdownHolder> Read() noexcept = 0;
    virtual void Remove() noexcept = 0;
};

// The record as the file "blokada-pulpitu.txt" in the user's own data folder
// (UserDataFolder() as it is at each call, created when missing), replaced
// whole at each write: the holder's process id on one line, its start on the
// next. Where the system names no data folder, there is no record.
class TLockdownRecordFile final : public ILockdownRecord {
public:
    static constexpr const char* kFileName = "blokada-pulpitu.txt";

    void Write(const TLockdownHolder& holder) noexcept override;
    std::optional<TLockdownHolder> Read() noexcept override;
    void Remove() noexcept override;
};

// The operations `shell` with the record kept beside them. Before the first
// operation that locks something, `record` is written naming `holder`; after
// the operation that lifts the last thing locked (LiftEverything, or both
// lockdowns switched off), the record is removed, if it still names `holder`
// (another copy of the program may have written its own since). Every call
// reaches `shell` as it came. `onLocked` hears true just before the first
// lock and false just after the last lift. For the one thread the lockdown
// runs on.
class TRecordedLockdown final : public ILockdownOperations {
public:
    TRecordedLockdown(ILockdownOperations& shell, ILockdownRecord& record, TLockdownHolder holder,
                      std::function<void(bool locked)> onLocked = nullptr);

    void ShowDesktopIcons(bool on) override;
    void EnableDesktopView(bool on) override;
    void ShowTaskbar(bool on) override;
    void EnableTaskbar(bool on) override;
    void EnableStartButton(bool on) override;
    void LockTaskSwitch(bool lock) override;

private:
    void Apply(unsigned part, bool lock, void (ILockdownOperations::*operation)(bool),
               bool argument);

    ILockdownOperations& shell_;
    ILockdownRecord& record_;
    TLockdownHolder holder_;
    std::function<void(bool)> onLocked_;
    unsigned locked_ = 0; // a bit for each of the six operations
};

// The rule of the start: where `record` names a holder that `gone` says no
// longer runs, or names none it can understand, LiftEverything(ops) and the
// record is removed. A record of a process that runs is left as it is.
// Returns whether it lifted.
bool LiftLockdownLeftBehind(ILockdownRecord& record, ILockdownOperations& ops,
                            const std::function<bool(const TLockdownHolder&)>& gone);

// The program's start, before anything else: the rule above with the record
// file, the system's operations (PlatformLockdown()) and the processes of this
// computer. Where nothing outlives the program (no Windows shell) no record is
// ever written, and this finds none. Never throws.
void LiftLockdownLeftBehind();

} // namespace kwizmar
