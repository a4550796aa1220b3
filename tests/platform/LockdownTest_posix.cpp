#include "Lockdown.h"

#include "CallNames.h"
#include "LockdownRecorder.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace kwizmar;

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
