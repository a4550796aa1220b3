#include "Settings.h"

#include "FileRegistry.h"
#include "FileSizeLimit.h"
#include "LockdownRecorder.h"
#include "PackagedFiles.h"
#include "RegFile.h"
#include "Scratch.h"
#include "ScrollingCaption.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kwizmar;

namespace {

const std::string kHeader = "Windows Registry Editor Version 5.00\n\n"
                            "[HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar]\n";

// A program file to point Path at.
std::string MakeProgram(const std::filesystem::path& file) {
    WriteBytes(file, "#!/bin/sh\n");
    return file.string();
}

// The start-up steps of the main window, in their order.
std::unique_ptr<TSettings> Start(const std::string& program, TScrollingCaption* caption = nullptr,
                                 ILockdownOperations* lockdown = nullptr) {
    auto settings = std::make_unique<TSettings>(PlatformRegistry(), program);
    settings->Options.AttachCaption(caption);
    settings->Options.AttachLockdown(lockdown);
    settings->LoadUserSettings();
    settings->ApplyStoredOptions();
    settings->RegisterTestFileType();
    return settings;
}

std::string Stored(const std::string& name) {
    auto key = PlatformRegistry().OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, false);
    return key->GetDataType(name) == TRegDataType::String ? key->ReadString(name)
                                                          : std::to_string(key->ReadInteger(name));
}

std::string DesktopEntry(const TScratch& scratch) {
    return ReadBytes(scratch.DataHome() / "applications/kwizmar.desktop");
}

// The copies of damaged settings files beside the settings file, by name.
std::vector<std::string> DamagedCopies(const TScratch& scratch) {
    std::vector<std::string> copies;
    const std::string prefix = scratch.SettingsFile().filename().string() + ".uszkodzony-";
    std::error_code ec;
    for (const auto& entry :
         std::filesystem::directory_iterator(scratch.SettingsFile().parent_path(), ec))
        if (entry.path().filename().string().starts_with(prefix))
            copies.push_back(entry.path().string());
    std::sort(copies.begin(), copies.end());
    return copies;
}

// A program that only writes down its name and arguments, into `record`.
std::string MakeRecordingProgram(const std::filesystem::path& file,
                                 const std::filesystem::path& record) {
    WriteBytes(file, "#!/bin/sh\necho \"" + file.filename().string() + " $*\" > '" +
                         record.string() + ".new' && mv '" + record.string() + ".new' '" +
                         record.string() + "'\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    return file.string();
}

// What `opener` started for `file`, by the record of the recording programs.
// The generic desktop of xdg-utils (its other desktops read the same files,
// or ask GIO); a display is only named, never opened.
std::string OpenedWith(const std::string& opener, const std::filesystem::path& file,
                       const std::filesystem::path& record) {
    std::filesystem::remove(record);
    const int status = std::system(
        ("XDG_CURRENT_DESKTOP=X-Generic DISPLAY=:0 " + opener + " '" + file.string() + "'")
            .c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "<" + opener + " failed>";
    // GIO starts the program and returns without waiting for it.
    for (int i = 0; i < 100 && !std::filesystem::exists(record); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return std::filesystem::exists(record) ? ReadBytes(record) : "<nothing started>";
}

// A test file to open, of bytes as scrambled as a test's (an empty file would
// pass for text).
std::filesystem::path MakeTestFile(const TScratch& scratch) {
    const std::filesystem::path test = scratch.Root() / "Mój test.ts2";
    WriteBytes(test, "^g\xe6~|5pqotz\xac");
    return test;
}

} // namespace

TEST(Settings, FirstStartRegistrationOpensTestsWithTheProgramUnderGioAndXdgUtils) {
    // Also from a folder whose name the desktop entry has to quote and whose
    // % it has to double.
    for (const char* folder : {"bin", "100% kwizmar/bin"}) {
        TScratch scratch;
        const std::filesystem::path record = scratch.Root() / "started";
        Start(MakeRecordingProgram(scratch.Root() / folder / "kwizmar", record));
        const std::filesystem::path test = MakeTestFile(scratch);
        for (const char* opener : {"gio open", "xdg-open"})
            EXPECT_EQ(OpenedWith(opener, test, record), "kwizmar " + test.string() + "\n")
                << opener << " " << folder;
    }
}

TEST(Settings, RegistrationLeavesTestsToTheProgramTheUserChose) {
    TScratch scratch;
    const std::filesystem::path record = scratch.Root() / "started";
    const std::string chosen = MakeRecordingProgram(scratch.Root() / "bin/inny", record);
    WriteBytes(scratch.DataHome() / "applications/inny.desktop",
               "[Desktop Entry]\nType=Application\nName=Inny\nExec=" + chosen + " %f\n");
    const std::string choice = "[Default Applications]\napplication/x-kwizmar-test=inny.desktop\n";
    WriteBytes(scratch.ConfigHome() / "mimeapps.list", choice);

    Start(MakeRecordingProgram(scratch.Root() / "bin/kwizmar", record));
    const std::filesystem::path test = MakeTestFile(scratch);
    for (const char* opener : {"gio open", "xdg-open"})
        EXPECT_EQ(OpenedWith(opener, test, record), "inny " + test.string() + "\n") << opener;
    EXPECT_EQ(ReadBytes(scratch.ConfigHome() / "mimeapps.list"), choice);
}

TEST(Settings, FirstStartCountsOneWritesTheRecordsAndRegistersTheFileType) {
    TScratch scratch;
    const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
    TScrollingCaption caption;
    TLockdownRecorder lockdown;
    auto settings = Start(program, &caption, &lockdown);

    EXPECT_EQ(settings->UserName, "");
    EXPECT_EQ(settings->Run, 1);
    EXPECT_TRUE(settings->Options.Get(TOption::Scroll));
    for (TOption o : {TOption::PZadan, TOption::Statystyki, TOption::Odp, TOption::DesktopEnabled,
                      TOption::TaskBarEnabled})
        EXPECT_FALSE(settings->Options.Get(o)) << OptionValueName(o);
    EXPECT_TRUE(caption.Enabled());
    EXPECT_TRUE(lockdown.Calls().empty());

    // A person can read it; the registration's record replaced the version.
    EXPECT_EQ(ReadBytes(scratch.SettingsFile()), kHeader +
                                                     "\"Run\"=\"1\"\n"
                                                     "\"Version\"=\"2.0\"\n"
                                                     "\"Path\"=\"" +
                                                     program +
                                                     "\"\n"
                                                     "\"Name\"=\"Kwizmar 2002\"\n"
                                                     "\"Scroll\"=dword:00000001\n");

    const std::string mime = ReadBytes(scratch.DataHome() / "mime/packages/kwizmar.xml");
    EXPECT_NE(mime.find("<mime-type type=\"application/x-kwizmar-test\">"), std::string::npos);
    EXPECT_NE(mime.find("<comment>Plik testowy programu Nerbaly KWIZMAR 2002</comment>"),
              std::string::npos);
    EXPECT_NE(mime.find("<glob pattern=\"*.ts2\"/>"), std::string::npos);
    const std::string entry = DesktopEntry(scratch);
    EXPECT_NE(entry.find("\nExec=" + program + " %f\n"), std::string::npos);
    EXPECT_NE(entry.find("\nMimeType=application/x-kwizmar-test;\n"), std::string::npos);
    EXPECT_NE(entry.find("[Desktop Action Egzaminuj]\nName=Egzaminuj\nExec=" + program + " %f\n"),
              std::string::npos);
    EXPECT_NE(entry.find("\nIcon=kwizmar\n"), std::string::npos);
    EXPECT_EQ(ReadBytes(scratch.DataHome() /
                        "icons/hicolor/scalable/mimetypes/application-x-kwizmar-test.svg"),
              std::string(TestFileIconSvg()));
    EXPECT_EQ(ReadBytes(scratch.DataHome() / "icons/hicolor/scalable/apps/kwizmar.svg"),
              std::string(ProgramIconSvg()));
}

TEST(Settings, AStartAfterAnUpdateAddsTheResultsMenuEntry) {
    TScratch scratch;
    const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
    Start(program);
    const auto results = scratch.DataHome() / "applications/kwizmar-wyniki-egzaminow.desktop";
    std::filesystem::remove(results); // as an earlier version left the registration
    Start(program);
    EXPECT_NE(ReadBytes(results).find("\nExec=" + program + " --wyniki\n"), std::string::npos);
}

TEST(Settings, InstalledPackageLeavesTheRegistrationToTheSystem) {
    TScratch scratch;
    const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
    Start(program); // an earlier start from a build folder registered the type itself
    const std::vector<std::filesystem::path> own = {
        "mime/packages/kwizmar.xml", "applications/kwizmar.desktop",
        "icons/hicolor/scalable/mimetypes/application-x-kwizmar-test.svg",
        "icons/hicolor/scalable/apps/kwizmar.svg"};
    for (const auto& file : own)
        ASSERT_TRUE(std::filesystem::exists(scratch.DataHome() / file)) << file;

    // The package is installed, and the program starts from its new place.
    WriteBytes(scratch.SystemDataDir() / "applications/kwizmar.desktop", "[Desktop Entry]\n");
    WriteBytes(scratch.SystemDataDir() / "mime/packages/kwizmar.xml", "<mime-info/>\n");
    std::filesystem::remove(program);
    const std::string installed = MakeProgram(scratch.Root() / "usr/bin/kwizmar");
    Start(installed);
    for (const auto& file : own)
        EXPECT_FALSE(std::filesystem::exists(scratch.DataHome() / file)) << file;
    EXPECT_EQ(ReadBytes(scratch.DataHome() / "applications/mimeinfo.cache"), "[MIME Cache]\n");
    EXPECT_EQ(Stored("Version"), "2.0");
    EXPECT_EQ(Stored("Path"), installed);
}

TEST(Settings, SecondStartCountsOnAndLeavesTheRecordsAlone) {
    TScratch scratch;
    const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
    Start(program)->WriteUserName("Żaneta");
    {
        auto key = PlatformRegistry().OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, true);
        key->WriteString("Name", "by hand");
    }
    std::filesystem::remove(scratch.DataHome() / "applications/kwizmar.desktop");

    auto second = Start(program);
    EXPECT_EQ(second->Run, 2);
    EXPECT_EQ(second->UserName, "Żaneta");
    EXPECT_EQ(Stored("Run"), "2");
    EXPECT_EQ(Stored("Name"), "by hand");
    EXPECT_EQ(Stored("Version"), "2.0");
    EXPECT_FALSE(std::filesystem::exists(scratch.DataHome() / "applications/kwizmar.desktop"));
}

TEST(Settings, MovedProgramWritesTheRecordsAgainAndRegistersTheNewPlace) {
    TScratch scratch;
    const std::string old = MakeProgram(scratch.Root() / "bin/kwizmar");
    Start(old);
    std::filesystem::remove(old);
    const std::string moved = MakeProgram(scratch.Root() / "Program Files/kwizmar");

    TSettings settings(PlatformRegistry(), moved);
    settings.LoadUserSettings();
    EXPECT_EQ(settings.Run, 2);
    EXPECT_EQ(Stored("Version"), "1.5.0.124");
    EXPECT_EQ(Stored("Path"), moved);
    settings.ApplyStoredOptions();
    settings.RegisterTestFileType();
    EXPECT_EQ(Stored("Version"), "2.0");
    // The new place's blank would need quotes that not every opener reads: the
    // entry names it by a link of a plain path.
    const std::filesystem::path link = scratch.DataHome() / "Kwizmar/bin/kwizmar";
    EXPECT_NE(DesktopEntry(scratch).find("\nExec=" + link.string() + " %f\n"), std::string::npos);
    EXPECT_EQ(std::filesystem::read_symlink(link), moved);
}

TEST(Settings, RunThatIsNoNumberIsReportedAndNothingIsRewritten) {
    TScratch scratch;
    const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
    const std::string before = kHeader + "\"Run\"=\"dwa\"\n";
    WriteBytes(scratch.SettingsFile(), before);

    TSettings settings(PlatformRegistry(), program);
    try {
        settings.LoadUserSettings();
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'dwa' is not a valid integer value");
    }
    EXPECT_EQ(settings.Run, 1);
    EXPECT_EQ(ReadBytes(scratch.SettingsFile()), before);
    // Path was missing at this start: the file type is still registered.
    settings.RegisterTestFileType();
    EXPECT_EQ(Stored("Path"), program);
    EXPECT_EQ(Stored("Run"), "dwa");
}

TEST(Settings, OptionsOfTheWrongTypeStopTheRestAndNonZeroIsTrue) {
    TScratch scratch;
    const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
    WriteBytes(scratch.SettingsFile(), kHeader + "\"Scroll\"=dword:00000000\n"
                                                 "\"PZadan\"=dword:00000007\n"
                                                 "\"Statystyki\"=dword:ffffffff\n"
                                                 "\"Odp\"=\"1\"\n"
                                                 "\"DesktopEnabled\"=dword:00000001\n");
    TSettings settings(PlatformRegistry(), program);
    TLockdownRecorder lockdown;
    settings.Options.AttachLockdown(&lockdown);
    try {
        settings.ApplyStoredOptions();
        FAIL() << "no exception";
    } catch (const EInvalidDataType& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Odp'");
    }
    EXPECT_FALSE(settings.Options.Get(TOption::Scroll));
    EXPECT_TRUE(settings.Options.Get(TOption::PZadan));
    EXPECT_TRUE(settings.Options.Get(TOption::Statystyki));
    EXPECT_FALSE(settings.Options.Get(TOption::DesktopEnabled)); // after the fault: not applied
    EXPECT_TRUE(lockdown.Calls().empty());
    EXPECT_EQ(Stored("PZadan"), "1"); // written back as 1
}

TEST(Settings, StoredLockdownIsAppliedAtStartBeforeAnyExam) {
    TScratch scratch;
    const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
    WriteBytes(scratch.SettingsFile(),
               kHeader + "\"DesktopEnabled\"=dword:00000001\n\"TaskBarEnabled\"=dword:00000001\n");
    TLockdownRecorder lockdown;
    Start(program, nullptr, &lockdown);
    LiftEverything(lockdown); // the main window closing
    std::vector<std::string> calls;
    for (const auto& c : lockdown.Calls())
        calls.push_back(c.ToString());
    const std::vector<std::string> expected = {
        "ShowDesktopIcons(false)", "EnableDesktopView(false)", "LockTaskSwitch(true)",
        "ShowTaskbar(false)",      "EnableTaskbar(false)",     "EnableStartButton(false)",
        "LockTaskSwitch(true)",    "ShowDesktopIcons(true)",   "EnableDesktopView(true)",
        "LockTaskSwitch(false)",   "ShowTaskbar(true)",        "EnableTaskbar(true)",
        "EnableStartButton(true)"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(Stored("DesktopEnabled"), "1"); // the next start locks again
    EXPECT_EQ(Stored("TaskBarEnabled"), "1");
}

TEST(Settings, DamagedSettingsFileIsSetAsideAndEveryValueThatReadsIsKept) {
    struct TCase {
        const char* what;
        std::string bytes;
        bool damaged;
        int run;              // the counter this start shows
        std::string userName; // as read back
        bool locked;          // Statystyki
        std::string badLine;  // as the notice names it
    };
    const TCase cases[] = {
        {"empty", "", false, 1, "", false, ""},
        {"garbage", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), true, 1, "", false,
         ": błędne są wiersze 1, 2, 3"},
        {"one bad line among good ones",
         kHeader + "\"Run\"=\"41\"\n\"UserName\"=\"Ala\"\n\"Odp\"=dword:zzzz\n"
                   "\"Statystyki\"=dword:00000001\n",
         true, 42, "Ala", true, ": błędny jest wiersz 6 („\"Odp\"=dword:zzzz”)"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TScratch scratch;
        const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
        const std::string file = scratch.SettingsFile().string();
        WriteBytes(file, c.bytes);

        auto first = Start(program);
        EXPECT_EQ(first->Run, c.run);
        EXPECT_EQ(first->UserName, c.userName);
        EXPECT_EQ(first->Options.Get(TOption::Statystyki), c.locked);
        EXPECT_TRUE(first->Options.Get(TOption::Scroll));
        EXPECT_FALSE(first->Options.Get(TOption::Odp));
        EXPECT_EQ(Stored("Path"), program);
        EXPECT_EQ(Stored("Version"), "2.0"); // the file type was registered
        EXPECT_NE(DesktopEntry(scratch).find(program), std::string::npos);
        const std::vector<std::string> copies = DamagedCopies(scratch);
        const std::vector<std::string> notices = first->TakeNotices();
        if (c.damaged) {
            ASSERT_EQ(copies.size(), 1u);
            EXPECT_EQ(ReadBytes(copies[0]), c.bytes);
            ASSERT_EQ(notices.size(), 1u);
            EXPECT_TRUE(notices[0].starts_with("Plik ustawień " + file + " był uszkodzony" +
                                               c.badLine + ".\n"))
                << notices[0];
            EXPECT_NE(notices[0].find(" " + copies[0] + ". "), std::string::npos) << notices[0];
        } else {
            EXPECT_TRUE(copies.empty());
            EXPECT_TRUE(notices.empty());
        }

        auto second = Start(program);
        EXPECT_EQ(second->Run, c.run + 1);
        EXPECT_EQ(second->Options.Get(TOption::Statystyki), c.locked);
        EXPECT_TRUE(second->TakeNotices().empty());
        EXPECT_EQ(DamagedCopies(scratch), copies);
    }
}

TEST(Settings, CopyOfADamagedFileNeverReplacesAnEarlierOne) {
    TScratch scratch;
    const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
    // Earlier copies under every name this start could choose by the clock.
    const std::time_t now = std::time(nullptr);
    for (std::time_t t = now; t < now + 60; ++t) {
        std::tm local{};
        localtime_r(&t, &local);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
        WriteBytes(scratch.SettingsFile().string() + ".uszkodzony-" + stamp, "earlier");
    }
    const std::size_t earlier = DamagedCopies(scratch).size();
    WriteBytes(scratch.SettingsFile(), "garbage");

    auto settings = Start(program);
    EXPECT_EQ(settings->TakeNotices().size(), 1u);
    std::vector<std::string> made;
    for (const std::string& copy : DamagedCopies(scratch))
        if (ReadBytes(copy) != "earlier")
            made.push_back(copy);
    EXPECT_EQ(DamagedCopies(scratch).size(), earlier + 1);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(ReadBytes(made[0]), "garbage");
}

TEST(Settings, DamagedFileThatCannotBeCopiedIsLeftAndTheRunKeepsItsValuesInMemory) {
    TScratch scratch;
    const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
    const std::string garbage = kHeader + "this is no value\n";
    WriteBytes(scratch.SettingsFile(), garbage);
    std::filesystem::permissions(scratch.SettingsFile().parent_path(),
                                 std::filesystem::perms::owner_read |
                                     std::filesystem::perms::owner_exec);
    const std::string seen = RunUnprivileged([&] {
        TSettings settings(PlatformRegistry(), program);
        settings.LoadUserSettings();
        std::string report = std::to_string(settings.Run);
        for (const std::string& notice : settings.TakeNotices())
            report += "|" + notice;
        settings.WriteUserName("Jan");
        settings.LoadUserSettings(); // what this run wrote reads back
        return report + "|" + settings.UserName + "|" + std::to_string(settings.Run) + "|" +
               std::to_string(settings.TakeNotices().size());
    });
    TDamagedStore store;
    store.file = scratch.SettingsFile().string();
    store.badLines = {{4, "this is no value"}};
    const std::string notice = DamagedSettingsNotice(store);
    EXPECT_NE(notice.find(" " + store.file + " "), std::string::npos);
    EXPECT_EQ(seen, "1|" + notice + "|Jan|2|0");
    EXPECT_EQ(ReadBytes(scratch.SettingsFile()), garbage);
    EXPECT_TRUE(DamagedCopies(scratch).empty());
}

// A file spoilt behind the program's back is never written over: what the
// program writes is kept for this run, and the user is told once.
TEST(Settings, WriteIntoAFileSpoiltSinceTheKeyOpenedLeavesItAndKeepsTheValueForTheRun) {
    struct TCase {
        const char* what;
        void (*spoil)(const std::filesystem::path&);
    };
    const TCase cases[] = {
        {"damaged", [](const std::filesystem::path& f) { WriteBytes(f, "garbage"); }},
        {"unreadable",
         [](const std::filesystem::path& f) {
             std::filesystem::remove(f);
             std::filesystem::create_directory(f);
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TScratch scratch;
        WriteBytes(scratch.SettingsFile(), kHeader + "\"Run\"=\"3\"\n");
        auto key = PlatformRegistry().OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, true);
        c.spoil(scratch.SettingsFile());
        const bool isFile = std::filesystem::is_regular_file(scratch.SettingsFile());
        key->WriteString("UserName", "Jan");
        EXPECT_EQ(PlatformRegistry()
                      .OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, true)
                      ->ReadString("UserName"),
                  "Jan");
        if (isFile) {
            EXPECT_EQ(ReadBytes(scratch.SettingsFile()), "garbage");
        }
        EXPECT_EQ(PlatformRegistry().TakeDamagedStores().size(), 1u);
        EXPECT_TRUE(DamagedCopies(scratch).empty());
    }
}

TEST(Settings, SymbolicLinkToTheSettingsFileStaysAndItsTargetIsWritten) {
    struct TCase {
        const char* what;
        bool relative;
        std::string before; // in the target; none when empty
        bool damaged;
    };
    const TCase cases[] = {
        {"absolute, to nothing yet", false, "", false},
        {"relative", true, kHeader + "\"Run\"=\"4\"\n", false},
        {"relative, to a damaged file", true, "garbage", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TScratch scratch;
        const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
        const auto target = scratch.Root() / "dotfiles/kwizmar.reg";
        std::filesystem::create_directories(target.parent_path());
        if (!c.before.empty())
            WriteBytes(target, c.before);
        const std::filesystem::path link =
            c.relative ? std::filesystem::path("../../dotfiles/kwizmar.reg") : target;
        std::filesystem::create_directories(scratch.SettingsFile().parent_path());
        std::filesystem::create_symlink(link, scratch.SettingsFile());

        auto settings = Start(program);
        EXPECT_EQ(settings->Run, c.damaged || c.before.empty() ? 1 : 5);
        ASSERT_TRUE(std::filesystem::is_symlink(scratch.SettingsFile()));
        EXPECT_EQ(std::filesystem::read_symlink(scratch.SettingsFile()), link);
        EXPECT_NE(ReadBytes(target).find("\"Path\"=\"" + program + "\"\n"), std::string::npos);
        EXPECT_EQ(settings->TakeNotices().size(), c.damaged ? 1u : 0u);
        const std::vector<std::string> copies = DamagedCopies(scratch);
        ASSERT_EQ(copies.size(), c.damaged ? 1u : 0u);
        if (c.damaged) {
            EXPECT_FALSE(std::filesystem::is_symlink(copies[0]));
            EXPECT_EQ(ReadBytes(copies[0]), c.before);
        }
    }
}

TEST(Settings, FailedWriteKeepsTheOldFileAndTheRunGoesOn) {
    TScratch scratch;
    const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
    Start(program);
    const std::string before = ReadBytes(scratch.SettingsFile());

    // A full disk half-way through the new file: the start goes on with the
    // count kept for this run, and the user hears of it once.
    WithFileSizeLimit(before.size() / 2, [&] {
        TSettings settings(PlatformRegistry(), program);
        settings.LoadUserSettings();
        settings.WriteUserName("Ela");
        EXPECT_EQ(settings.Run, 2);
        const std::vector<std::string> notices = settings.TakeNotices();
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_NE(notices[0].find("braku miejsca na dysku"), std::string::npos) << notices[0];
    });
    EXPECT_EQ(ReadBytes(scratch.SettingsFile()), before);
}

TEST(Settings, FileTheUserMayNotReadOrWriteIsKeptInMemoryForTheRun) {
    struct TCase {
        const char* what;
        bool ownFolder;     // in the user's folder, not linked from an administrator's
        bool readable;      // by the user, who is root without capabilities
        std::string values; // the run counter, the stored lock, then what this run wrote
        std::string blamed; // what the notice blames, after "uprawnień do ", and its path
    };
    const TCase cases[] = {
        {"another user's, mode 0600", true, false, "1|0|Jan|1", "odczytu tego pliku ("},
        {"an administrator's, linked: read-only on purpose, nothing told", false, true,
         "42|1|Jan|1", ""},
        {"in a folder the user can't write", true, true, "42|1|Jan|1", "zapisu folderu "},
    };
    const std::string stored =
        kHeader + "\"Run\"=\"41\"\n\"UserName\"=\"Ala\"\n\"Statystyki\"=dword:00000001\n";
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TScratch scratch;
        const std::string program = MakeProgram(scratch.Root() / "bin/kwizmar");
        const auto file =
            c.ownFolder ? scratch.SettingsFile() : scratch.Root() / "admin/Kwizmar.reg";
        const auto folder = file.parent_path();
        WriteBytes(file, stored);
        if (!c.ownFolder) {
            std::filesystem::create_directories(scratch.SettingsFile().parent_path());
            std::filesystem::create_symlink(file, scratch.SettingsFile());
            ASSERT_EQ(chown(folder.c_str(), 1001, 1001), 0);
        }
        if (!c.readable)
            std::filesystem::permissions(file, std::filesystem::perms(0600));
        if (c.ownFolder && c.readable)
            std::filesystem::permissions(folder, std::filesystem::perms(0500));
        else
            ASSERT_EQ(chown(file.c_str(), 1001, 1001), 0);

        const std::string seen = RunUnprivileged([&] {
            auto settings = Start(program);
            std::string notices;
            for (const std::string& notice : settings->TakeNotices())
                notices += "\n@\n" + notice;
            settings->WriteUserName("Jan");
            WriteOption(PlatformRegistry(), TOption::Odp, true);
            TSettings again(PlatformRegistry(), program);
            again.LoadUserSettings();
            notices += again.TakeNotices().empty() ? "" : "\n@\nanother notice";
            return std::to_string(settings->Run) + "|" +
                   std::to_string(settings->Options.Get(TOption::Statystyki)) + "|" +
                   again.UserName + "|" + Stored("Odp") + notices;
        });
        const std::size_t at = seen.find("\n@\n");
        if (c.blamed.empty()) {
            EXPECT_EQ(seen, c.values);
            EXPECT_EQ(ReadBytes(file), stored);
            continue;
        }
        ASSERT_NE(at, std::string::npos) << seen;
        EXPECT_EQ(seen.substr(0, at), c.values);
        const std::string notice = seen.substr(at + 3);
        ASSERT_EQ(notice.find("\n@\n"), std::string::npos) << "told twice: " << seen;
        EXPECT_TRUE(notice.starts_with(std::string("Nie można ") +
                                       (c.readable ? "zapisać" : "odczytać") + " pliku ustawień " +
                                       scratch.SettingsFile().string() + ":"))
            << notice;
        const std::string blamed =
            c.blamed.ends_with("(")
                ? c.blamed
                : c.blamed + (c.blamed.ends_with("folderu ") ? folder : file).string();
        EXPECT_NE(notice.find(blamed), std::string::npos) << notice;
        EXPECT_NE(notice.find(c.ownFolder && c.readable ? "chmod u+rwx " + folder.string()
                                                        : "sudo chown root: " + file.string()),
                  std::string::npos)
            << notice;
        EXPECT_EQ(ReadBytes(file), stored); // never written, never set aside
        EXPECT_TRUE(DamagedCopies(scratch).empty());
    }
}

TEST(Settings, ASaveKilledHalfWayLeavesItsTemporaryFileOnlyUntilTheNextSave) {
    TScratch scratch;
    Start(MakeProgram(scratch.Root() / "bin/kwizmar"));
    const pid_t killed =
        KilledHalfWay(16, [] { WriteOption(PlatformRegistry(), TOption::Statystyki, true); });
    ASSERT_GT(killed, 0);
    const auto before = TemporaryFilesOf(scratch.SettingsFile());
    ASSERT_EQ(before.size(), 1u);
    EXPECT_TRUE(before[0].starts_with(scratch.SettingsFile().filename().string() + ".tmp" +
                                      std::to_string(killed) + "-"));
    WriteOption(PlatformRegistry(), TOption::Statystyki, true);
    EXPECT_TRUE(TemporaryFilesOf(scratch.SettingsFile()).empty());
}

TEST(Settings, AnyRegistrationFailureGivesTheOneMessage) {
    // A folder that can't be made, and a program path the settings file takes
    // but no desktop entry can hold (a control character).
    const struct {
        const char* place;
        bool blocked;
    } cases[] = {{"bin/kwizmar", true}, {"bin\x1b/kwizmar", false}};
    for (const auto [place, blocked] : cases) {
        TScratch scratch;
        const std::string program = MakeProgram(scratch.Root() / place);
        if (blocked)
            WriteBytes(scratch.DataHome() / "applications", "a file where a folder belongs");
        TSettings settings(PlatformRegistry(), program);
        settings.LoadUserSettings();
        try {
            settings.RegisterTestFileType();
            ADD_FAILURE() << "no exception: " << place;
        } catch (const ERegistrationError& e) {
            EXPECT_STREQ(e.what(), "Błąd! Wystąpił błąd wzwiązany z rejestrem!");
        }
        EXPECT_EQ(Stored("Version"), "1.5.0.124") << place; // the record after it is skipped
        EXPECT_FALSE(std::filesystem::exists(scratch.DataHome() / "applications/kwizmar.desktop"));
    }
}

TEST(OptionStates, ActOnlyOnChangeAndKeepTheStateWhenTheWriteFails) {
    TScratch scratch;
    TOptionStates options(PlatformRegistry());
    TScrollingCaption caption;
    options.AttachCaption(&caption);
    std::vector<std::string> changes;
    options.OnChanged = [&](TOption o, bool s) {
        changes.push_back(std::string(OptionValueName(o)) + (s ? "=1" : "=0"));
    };

    options.SetOption(TOption::Scroll, true);
    options.SetOption(TOption::PZadan, true);
    EXPECT_TRUE(caption.Enabled());
    EXPECT_TRUE(caption.IsMainWindow);
    options.SetOption(TOption::PZadan, true); // the radio button already checked
    EXPECT_EQ(changes, (std::vector<std::string>{"Scroll=1", "PZadan=1"}));
    EXPECT_EQ(Stored("Scroll"), "1");

    // The settings folder can't be made: the box stays checked, the value
    // kept for this run only.
    std::filesystem::remove_all(scratch.ConfigHome());
    WriteBytes(scratch.ConfigHome() / "Nerbaly", "not a folder");
    options.SetOption(TOption::Odp, true);
    EXPECT_TRUE(options.Get(TOption::Odp));
    EXPECT_EQ(PlatformRegistry().TakeDamagedStores().size(), 1u);
    EXPECT_EQ(ReadBytes(scratch.ConfigHome() / "Nerbaly"), "not a folder");
}
