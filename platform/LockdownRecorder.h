#pragma once

#include "Lockdown.h"

#include <mutex>
#include <string>
#include <vector>

namespace kwizmar {

// One call of a lockdown operation as recorded: the operation's name and its
// argument, e.g. {"ShowDesktopIcons", false}.
struct TLockdownCall {
    std::string operation;
    bool argument = false;

    // "ShowDesktopIcons(false)"
    std::string ToString() const;
    bool operator==(const TLockdownCall&) const = default;
};

// Lockdown operations that leave the desktop alone and remember every call in
// order. It is the system's lockdown where there is no Windows shell, and what
// tests use to see the order of calls.
//
// When the environment variable KWIZMAR_LOCKDOWN_LOG names a file, each call is
// also appended to it as one line ("ShowDesktopIcons(false)\n"), so that a test
// running the program as a separate process can watch the calls. A log file
// that can't be written is ignored.
class TLockdownRecorder final : public ILockdownOperations {
public:
    void ShowDesktopIcons(bool on) override;
    void EnableDesktopView(bool on) override;
    void ShowTaskbar(bool on) override;
    void EnableTaskbar(bool on) override;
    void EnableStartButton(bool on) override;
    void LockTaskSwitch(bool lock) override;

    std::vector<TLockdownCall> Calls() const;
    void Clear();

private:
    void Record(const char* operation, bool argument);

    mutable std::mutex mutex_;
    std::vector<TLockdownCall> calls_;
};

// The process-wide recorder; PlatformLockdown() is this object on systems
// without the Windows shell.
TLockdownRecorder& ProcessLockdownRecorder();

} // namespace kwizmar
