// A lab's settings, read from the machine-wide Setup file where pupils can't
// change them.
#include "LabSettings.h"

#include "ResultsLog.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kwizmar;

namespace {

const std::string kSetup =
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup]\n"
    "\"SysDir\"=\"/srv/kwizmar\"\n\n";

} // namespace

TEST(LabSettings, TheAdministratorsSectionOfTheSetupFileGivesTheRules) {
    struct TCase {
        const char* what;
        std::string section;
        TLabRules expected;
    } cases[] = {
        {"no lab section: the program's own behaviour", "", {false, 0}},
        {"strict, 45 minutes",
         "\"StrictExam\"=dword:00000001\n\"ExamMinutes\"=dword:0000002d\n",
         {true, 45}},
        {"a time beyond the field's range is held to it",
         "\"ExamMinutes\"=dword:0000005a\n",
         {false, 60}},
        {"values of another type change nothing",
         "\"StrictExam\"=\"1\"\n\"ExamMinutes\"=\"45\"\n",
         {false, 0}},
    };
    for (const TCase& c : cases) {
        TScratch scratch;
        WriteBytes(scratch.SetupFile(),
                   kSetup +
                       (c.section.empty()
                            ? ""
                            : "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nerbaly\\Kwizmar]\n" + c.section));
        const TLabRules rules = ReadLabRules(PlatformRegistry());
        EXPECT_EQ(rules.strictExam, c.expected.strictExam) << c.what;
        EXPECT_EQ(rules.examMinutes, c.expected.examMinutes) << c.what;
    }
}

TEST(LabSettings, TheLabsResultsFolderComesBeforeTheSetupKeys) {
    TScratch scratch;
    WriteBytes(scratch.SetupFile(), kSetup);
    TResultsLog log;
    EXPECT_EQ(log.Locate(), "/srv/kwizmar/MSStr32.dll");
    WriteBytes(scratch.SetupFile(), kSetup + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nerbaly\\Kwizmar]\n"
                                             "\"SysDir\"=\"/srv/pracownia\"\n");
    EXPECT_EQ(log.Locate(), "/srv/pracownia/MSStr32.dll");
}
