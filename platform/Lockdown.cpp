#include "Lockdown.h"

namespace kwizmar {

void DesktopLockdown(ILockdownOperations& ops, bool lock) {
    ops.ShowDesktopIcons(!lock);
    ops.EnableDesktopView(!lock);
    ops.LockTaskSwitch(lock);
}

void TaskbarLockdown(ILockdownOperations& ops, bool lock) {
    ops.ShowTaskbar(!lock);
    ops.EnableTaskbar(!lock);
    ops.EnableStartButton(!lock);
    ops.LockTaskSwitch(lock);
}

void LiftEverything(ILockdownOperations& ops) {
    ops.ShowDesktopIcons(true);
    ops.EnableDesktopView(true);
    ops.LockTaskSwitch(false);
    ops.ShowTaskbar(true);
    ops.EnableTaskbar(true);
    ops.EnableStartButton(true);
}

} // namespace kwizmar
