#include "Lockdown.h"

#include "LockdownRecorder.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kwizmar;

namespace {

std::vector<std::string> Names(const std::vector<TLockdownCall>& calls) {
    std::vector<std::string> out;
    for (const auto& c : calls)
        out.push_back(c.ToString());
    return out;
}

} // namespace

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

TEST(Lockdown, PlatformCallsAreRecordedAndLoggedForOtherProcesses) {
    TScratch scratch;
    const auto log = scratch.Root() / "lockdown.log";
    setenv("KWIZMAR_LOCKDOWN_LOG", log.c_str(), 1);
    ProcessLockdownRecorder().Clear();

    TaskbarLockdown(PlatformLockdown(), false);

    const std::vector<std::string> expected = {"ShowTaskbar(true)", "EnableTaskbar(true)",
                                               "EnableStartButton(true)", "LockTaskSwitch(false)"};
    EXPECT_EQ(Names(ProcessLockdownRecorder().Calls()), expected);
    EXPECT_EQ(ReadBytes(log), "ShowTaskbar(true)\nEnableTaskbar(true)\n"
                              "EnableStartButton(true)\nLockTaskSwitch(false)\n");
}
