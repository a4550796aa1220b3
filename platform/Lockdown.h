#pragma once

// The lockdown keeps an examinee inside the program: the desktop lockdown hides
// and disables the desktop, the taskbar lockdown hides and disables the taskbar
// and its Start button, and either one takes Alt+Tab away from the task
// switcher. The six operations are thin calls on the shell's windows; the
// sequences below fix when, in what order and with what argument they run.

namespace kwizmar {

// The six operations. The first five take `on` (true = normal, false =
// locked); LockTaskSwitch takes `lock` (true = locked). None of them reports
// anything: a shell window that isn't there or a call the system refuses
// leaves the shell as it was.
class ILockdownOperations {
public:
    virtual ~ILockdownOperations() = default;
    virtual void ShowDesktopIcons(bool on) = 0;
    virtual void EnableDesktopView(bool on) = 0;
    virtual void ShowTaskbar(bool on) = 0;
    virtual void EnableTaskbar(bool on) = 0;
    virtual void EnableStartButton(bool on) = 0;
    virtual void LockTaskSwitch(bool lock) = 0;
};

// The system's own operations: the shell's windows on Windows, with the
// lockdown's record kept and the shell given back when the program ends
// abnormally (see LockdownRecord.h); elsewhere a recorder that leaves the
// desktop alone (see LockdownRecorder.h). One object for the whole process.
ILockdownOperations& PlatformLockdown();

// "wyłącz i ukryj pulpit" checked (lock) or unchecked:
// ShowDesktopIcons(!lock), EnableDesktopView(!lock), LockTaskSwitch(lock).
void DesktopLockdown(ILockdownOperations& ops, bool lock);

// "wyłącz i ukryj przycisk Start i cały pasek zadań" checked (lock) or not:
// ShowTaskbar(!lock), EnableTaskbar(!lock), EnableStartButton(!lock),
// LockTaskSwitch(lock).
void TaskbarLockdown(ILockdownOperations& ops, bool lock);

// The main window closing, whatever the options say: ShowDesktopIcons(true),
// EnableDesktopView(true), LockTaskSwitch(false), ShowTaskbar(true),
// EnableTaskbar(true), EnableStartButton(true). The stored options are left
// as they are, so the next start locks again.
void LiftEverything(ILockdownOperations& ops);

} // namespace kwizmar
