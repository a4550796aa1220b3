// A lab's settings, read from the machine-wide Setup file where pupils can't
// change them.
#include "LabSettings.h"

#include "ResultsLog.h"
#include "Scratch.h"
#include "Settings.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <unistd.h>

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

// The administrator's file is read as a pupil's settings file is: a bad line
// costs itself alone and is told once, in Polish, with what it means for the
// exam; a file the pupil can't read costs its values and is told too. The file
// itself is never changed.
TEST(LabSettings, ASetupFileWithABadLineKeepsEveryGoodValueAndSaysWhatWasLost) {
    const std::string lab = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nerbaly\\Kwizmar]\n"
                            "\"StrictExam\"=dword:00000001\n";
    struct TCase {
        const char* what;
        std::string bad;
        const char* sysDir;
        bool strict;
        const char* told; // in the notice
    } cases[] = {
        {"a time without dword:", "\"ExamMinutes\"=45\n", "/srv/kwizmar",
         true, "Program pominął ten wiersz i stosuje pozostałe ustawienia pracowni: czas "
               "egzaminu nie jest ustalony przez pracownię."},
        {"random bytes", "\x01\xff\xfe garbage\n", "/srv/kwizmar", true,
         "stosuje pozostałe ustawienia pracowni."},
        {"a broken results folder, the Setup section's one kept", "\"SysDir\"=/srv/pracownia\n",
         "/srv/kwizmar", true, "stosuje pozostałe ustawienia pracowni."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TScratch scratch;
        const std::string text = kSetup + lab + c.bad;
        WriteBytes(scratch.SetupFile(), text);
        EXPECT_EQ(ReadLabRules(PlatformRegistry()).strictExam, c.strict);
        EXPECT_EQ(TResultsLog().Locate(), std::string(c.sysDir) + "/MSStr32.dll");
        std::vector<TDamagedStore> told = PlatformRegistry().TakeDamagedStores();
        ASSERT_EQ(told.size(), 1u);
        const std::string notice = DamagedSettingsNotice(told[0]);
        EXPECT_TRUE(notice.starts_with("Plik ustawień pracowni " + scratch.SetupFile().string() +
                                       " zawiera błędy: błędny jest wiersz 8"))
            << "[" << notice << "]";
        EXPECT_NE(notice.find(c.told), std::string::npos) << notice;
        ReadLabRules(PlatformRegistry()); // read again: told once a run
        EXPECT_TRUE(PlatformRegistry().TakeDamagedStores().empty());
        EXPECT_EQ(ReadBytes(scratch.SetupFile()), text);
    }
}

TEST(LabSettings, ASetupFileThePupilCannotReadIsToldAndCountsAsNone) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give the file to another user";
    TScratch scratch;
    WriteBytes(scratch.SetupFile(), kSetup + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nerbaly\\Kwizmar]\n"
                                             "\"StrictExam\"=dword:00000001\n");
    std::filesystem::permissions(scratch.SetupFile(), std::filesystem::perms(0600));
    ASSERT_EQ(::chown(scratch.SetupFile().c_str(), 65534, 65534), 0); // the administrator's
    const std::string notice = RunUnprivileged([] {
        if (ReadLabRules(PlatformRegistry()).strictExam)
            return std::string("read after all");
        const auto told = PlatformRegistry().TakeDamagedStores();
        return told.size() == 1 ? DamagedSettingsNotice(told[0]) : std::string("not told");
    });
    EXPECT_TRUE(notice.starts_with("Nie można odczytać pliku ustawień pracowni " +
                                   scratch.SetupFile().string() + ": brak uprawnień do odczytu"))
        << "[" << notice << "]";
    EXPECT_NE(notice.find("podgląd prawidłowej odpowiedzi (Ctrl + mysz) nie jest wyłączony"),
              std::string::npos);
    EXPECT_NE(notice.find("sudo chmod a+r " + scratch.SetupFile().string()), std::string::npos);
}
