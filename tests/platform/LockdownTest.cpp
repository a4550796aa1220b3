#include "Lockdown.h"

#include "CallNames.h"
#include "LockdownRecorder.h"

#include <gtest/gtest.h>

using namespace kwizmar;

TEST(Lockdown, SequencesCallTheOperationsInTheirOrder) {
    TLockdownRecorder ops;
    DesktopLockdown(ops, true);
    TaskbarLockdown(ops, true);
    DesktopLockdown(ops, false); // the desktop box unchecked, the taskbar box still checked
    LiftEverything(ops);
    const std::vector<std::string> expected = {
        "ShowDesktopIcons(false)", "EnableDesktopView(false)", "LockTaskSwitch(true)",
        "ShowTaskbar(false)",      "EnableTaskbar(false)",     "EnableStartButton(false)",
        "LockTaskSwitch(true)",    "ShowDesktopIcons(true)",   "EnableDesktopView(true)",
        "LockTaskSwitch(false)",   "ShowDesktopIcons(true)",   "EnableDesktopView(true)",
        "LockTaskSwitch(false)",   "ShowTaskbar(true)",        "EnableTaskbar(true)",
        "EnableStartButton(true)"};
    EXPECT_EQ(Names(ops.Calls()), expected);
}
