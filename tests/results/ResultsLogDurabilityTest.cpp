// The results log under the setups schools really have: no Setup file, shared
// folders, protected and linked files, full disks, crashes and several copies
// of the program at once, on the registry files. Every result must end up in
// the log exactly once.
#include "PendingResults.h"
#include "ResultsLog.h"
#include "ServerLock.h"

#include "ChildProcesses.h"
#include "FileSizeLimit.h"
#include "LogScratch.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <pwd.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kwizmar;

namespace {

struct stat StatOf(const std::filesystem::path& file) {
    struct stat st {};
    EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
    return st;
}

std::string KeptNote(const TLogScratch& scratch) {
    return "\n\nWynik egzaminu nie przepadł: jest zachowany na tym komputerze w pliku " +
           scratch.Pending().string() +
           " i zostanie dopisany do pliku wyników sam, gdy tylko będzie to możliwe.";
}

// Where the tests run as root, hands a file to "nobody", so that keeping its
// owner means something.
void GiveToAnotherUser(const std::filesystem::path& path) {
    if (::geteuid() != 0)
        return;
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    ASSERT_EQ(::chown(path.c_str(), uid, uid), 0) << path;
}

// Runs `action` without the power to override file permissions, as an
// ordinary user runs; returns "" when it ran through, or "!" and the text of
// what it threw.
std::string AsOrdinaryUser(const std::function<void()>& action) {
    return RunUnprivileged([&]() -> std::string {
        try {
            action();
            return "";
        } catch (const std::exception& e) {
            return std::string("!") + e.what();
        }
    });
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ResultsLog, WithoutSetupFileTheLogLivesInTheProgramsDataFolder) {
    TScratch scratch;
    TResultsLog log;
    EXPECT_EQ(log.AppendResultLine("a"), 1);
    EXPECT_EQ(ReadBytes(scratch.DataHome() / "Kwizmar/MSStr32.dll"), "1. a\r\n");
}

TEST(ResultsLogDurability, AppendEndsACutLastLineAndRewritesAnyOtherLogWhole) {
    const struct {
        std::string before, after;
        bool inPlace;
    } cases[] = {
        {"", "1. x\r\n", true},
        {"1. a\r\n2. cut", "1. a\r\n2. cut\r\n3. x\r\n", true},
        {"1. a\r\n2. cut\r", "1. a\r\n2. cut\r\n3. x\r\n", true},
        {"1. a\n2. b\r\n", "1. a\r\n2. b\r\n3. x\r\n", false},
        {"1. a\r2. b", "1. a\r\n2. b\r\n3. x\r\n", false},
        {std::string("1. a\r\n\0junk\r\n", 13), "1. a\r\n2. x\r\n", false},
    };
    for (const auto& c : cases) {
        TLogScratch scratch;
        WriteBytes(scratch.Log(), c.before);
        const ino_t inode = StatOf(scratch.Log()).st_ino;
        TResultsLog log;
        log.AppendResultLine("x");
        EXPECT_EQ(ReadBytes(scratch.Log()), c.after) << c.before;
        EXPECT_EQ(StatOf(scratch.Log()).st_ino == inode, c.inPlace) << c.before;
        EXPECT_EQ(FormatLog(log.lines()), c.after) << c.before;
    }
}

TEST(ResultsLogDurability, AResultThatCannotBeWrittenWaitsAndGoesInBeforeTheNext) {
    TLogScratch scratch;
    const auto small = scratch.Root() / "small";
    if (!scratch.MountTmpfs(small, 16 * 1024))
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    // Two whole pages of tmpfs, so that one more byte needs a page more.
    std::string filled;
    for (int i = 1; filled.size() < 8000; ++i)
        filled += std::to_string(i) + ". " + std::string(50, 'f') + "\r\n";
    filled.insert(filled.size() - 2, 8192 - filled.size(), 'f');
    WriteBytes(small / "MSStr32.dll", filled);
    const int lines = int(ParseLog(filled).size());
    {
        // Fill the rest of the file system.
        std::ofstream filler(small / "filler", std::ios::binary);
        const std::string block(512, 'x');
        while (filler.write(block.data(), std::streamsize(block.size())) && filler.flush()) {
        }
    }
    scratch.SetSysDir(small);
    const std::string log = (small / "MSStr32.dll").string();

    TResultsLog results;
    for (const char* text : {"pierwszy", "drugi"}) {
        try {
            results.AppendResultLine(text);
            FAIL() << "no exception";
        } catch (const EResultWaits& e) {
            EXPECT_EQ(std::string(e.what()), "Na dysku z plikiem wyników " + log +
                                                 " zabrakło miejsca." + KeptNote(scratch));
        }
        EXPECT_EQ(ReadBytes(log), filled);
        EXPECT_EQ(results.lines().back(), std::to_string(lines + 1) + ". " + text);
    }
    EXPECT_EQ(ReadBytes(scratch.Pending()), "pierwszy\r\ndrugi\r\n");

    // Space again: both waiting results go in first, numbered on.
    std::filesystem::remove(small / "filler");
    EXPECT_EQ(results.AppendResultLine("trzeci"), lines + 3);
    auto line = [&](int k, const char* text) {
        return std::to_string(lines + k) + ". " + text + "\r\n";
    };
    EXPECT_EQ(ReadBytes(log), filled + line(1, "pierwszy") + line(2, "drugi") + line(3, "trzeci"));
    EXPECT_FALSE(std::filesystem::exists(scratch.Pending()));

    // A crash after the log got a waiting result but before it was crossed
    // off: the result is not written twice.
    WriteBytes(scratch.Pending(), "drugi\r\n");
    EXPECT_EQ(results.AppendResultLine("czwarty"), lines + 4);
    EXPECT_EQ(ReadBytes(log), filled + line(1, "pierwszy") + line(2, "drugi") + line(3, "trzeci") +
                                  line(4, "czwarty"));

    // A share that has become read-only, and a folder that is gone.
    ASSERT_TRUE(scratch.RemountReadOnly());
    EXPECT_THROW(results.AppendResultLine("piąty"), EResultWaits);
    scratch.SetSysDir(scratch.Root() / "nowhere");
    EXPECT_THROW(results.AppendResultLine("szósty"), EResultWaits);
    EXPECT_EQ(ReadBytes(scratch.Pending()), "pi\xB9ty\r\nsz\xF3sty\r\n");
}

TEST(ResultsLogDurability, AnOrdinaryUserWritesASharedLogInAReadOnlyFolder) {
    TLogScratch scratch;
    WriteBytes(scratch.Log(), "1. a\r\n");
    std::filesystem::permissions(scratch.Log(), std::filesystem::perms(0666));
    std::filesystem::permissions(scratch.SysDir(), std::filesystem::perms(0555));
    const struct stat before = StatOf(scratch.Log());

    EXPECT_EQ(AsOrdinaryUser([] { TResultsLog().AppendResultLine("b"); }), "");
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. a\r\n2. b\r\n");

    // The statistics window's save rewrites the file in place, with a backup
    // copy in the user's data folder until it is done.
    EXPECT_EQ(AsOrdinaryUser([] {
                  TResultsLog log;
                  log.LoadIntoList();
                  log.DeleteLine(0);
                  log.Save();
              }),
              "");
    EXPECT_EQ(ReadBytes(scratch.Log()), "2. b\r\n");
    const struct stat after = StatOf(scratch.Log());
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(FilesIn(scratch.DataHome() / "Kwizmar"),
              std::vector<std::string>{"MSStr32.dll.poprzedni"});
    EXPECT_EQ(FilesIn(scratch.SysDir()), std::vector<std::string>{"MSStr32.dll"});
}

TEST(ResultsLogDurability, AWriteProtectedLogIsNeverChanged) {
    TLogScratch scratch;
    WriteBytes(scratch.Log(), "1. a\r\n");
    std::filesystem::permissions(scratch.Log(), std::filesystem::perms(0444));
    std::filesystem::permissions(scratch.SysDir(), std::filesystem::perms(0777));
    const std::string path = scratch.Log().string();

    EXPECT_EQ(AsOrdinaryUser([] { TResultsLog().AppendResultLine("b"); }),
              "!Brak uprawnień do zapisu w pliku wyników " + path + "." + KeptNote(scratch));
    EXPECT_EQ(AsOrdinaryUser([] {
                  TResultsLog log;
                  log.LoadIntoList();
                  log.Clear();
                  log.Save();
              }),
              "!Cannot create file " + path);
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. a\r\n");
    EXPECT_EQ(ReadBytes(scratch.Pending()), "b\r\n");
}

TEST(ResultsLogDurability, ALinkedLogIsWrittenThroughKeepingModeOwnerAndLinks) {
    TLogScratch scratch;
    const auto real = scratch.Root() / "share/wyniki.txt";
    WriteBytes(real, "1. a\r\n");
    std::filesystem::permissions(real, std::filesystem::perms(0640));
    GiveToAnotherUser(real);
    std::filesystem::create_symlink("../share/wyniki.txt", scratch.Log());
    const struct stat before = StatOf(real);

    TResultsLog log;
    log.AppendResultLine("b");
    log.DeleteLine(0);
    log.Save(); // a whole rewrite, renamed over the real file
    EXPECT_TRUE(std::filesystem::is_symlink(scratch.Log()));
    EXPECT_EQ(ReadBytes(real), "2. b\r\n");
    EXPECT_EQ(StatOf(real).st_mode, before.st_mode);
    EXPECT_EQ(StatOf(real).st_uid, before.st_uid);
    EXPECT_EQ(FilesIn(real.parent_path()), std::vector<std::string>{"wyniki.txt"});

    // A second name for the same file keeps seeing it.
    const auto other = scratch.Root() / "share/kopia.txt";
    std::filesystem::create_hard_link(real, other);
    log.AppendResultLine("c");
    log.DeleteLine(0);
    log.Save();
    EXPECT_EQ(ReadBytes(other), "2. c\r\n");
    EXPECT_EQ(StatOf(other).st_ino, StatOf(real).st_ino);
}

TEST(ResultsLogDurability, AStatisticsSaveKeepsWhatOthersAppendedAndRefusesARewrittenLog) {
    TLogScratch scratch;
    WriteBytes(scratch.Log(), "1. a\r\n2. b\r\n");
    TResultsLog window;
    window.LoadIntoList();
    window.DeleteLine(0);
    ExpectAllExitedCleanly({Spawn([] { TResultsLog().AppendResultLine("c"); })});
    window.Save();
    EXPECT_EQ(ReadBytes(scratch.Log()), "2. b\r\n3. c\r\n");
    EXPECT_EQ(window.lines(), (std::vector<std::string>{"2. b", "3. c"}));

    // Another copy saves its own edit meanwhile: this one's save is refused
    // and the list shows the log as it now is.
    window.Clear();
    ExpectAllExitedCleanly({Spawn([] {
        TResultsLog other;
        other.LoadIntoList();
        other.DeleteLine(1);
        other.Save();
    })});
    try {
        window.Save();
        FAIL() << "no exception";
    } catch (const EResultsLogChanged& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Nie zapisano zmian: plik wyników " + scratch.Log().string() +
                      " został w międzyczasie zmieniony przez inną kopię programu. Lista "
                      "została wczytana na nowo; wprowadź zmiany jeszcze raz.");
    }
    EXPECT_EQ(ReadBytes(scratch.Log()), "2. b\r\n");
    EXPECT_EQ(window.lines(), std::vector<std::string>{"2. b"});

    // A save that fails half-way leaves the log and the list as they were.
    window.Clear();
    ExpectAllExitedCleanly({Spawn([] { TResultsLog().AppendResultLine("długi wynik"); })});
    EXPECT_THROW(WithFileSizeLimit(3, [&] { window.Save(); }), EFCreateError);
    EXPECT_EQ(ReadBytes(scratch.Log()), "2. b\r\n2. d\xB3ugi wynik\r\n");
    EXPECT_TRUE(window.lines().empty());
}

TEST(ResultsLogDurability, AKilledProgramLeavesCompleteLinesNumberedOn) {
    TLogScratch scratch;
    const pid_t child = Spawn([] {
        TResultsLog log;
        for (int i = 1; i <= 200; ++i)
            log.AppendResultLine("wynik " + std::to_string(i));
    });
    std::error_code ec;
    while (std::filesystem::file_size(scratch.Log(), ec) < 20 * 12 || ec)
        ::usleep(1000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    TResultsLog log;
    const int k = log.AppendResultLine("po awarii");
    ASSERT_EQ(log.lines().size(), std::size_t(k));
    for (int i = 1; i < k; ++i)
        EXPECT_EQ(log.lines()[std::size_t(i - 1)],
                  std::to_string(i) + ". wynik " + std::to_string(i));
    EXPECT_EQ(log.lines().back(), std::to_string(k) + ". po awarii");
}

TEST(ResultsLogDurability, ASaveKilledHalfWayLeavesItsTemporaryFileOnlyUntilTheNextSave) {
    TLogScratch scratch;
    TResultsLog().AppendResultLine(std::string(200, 'a'));
    TResultsLog().AppendResultLine("b");
    // The save keeps the log as it was first: killed there, it leaves the
    // copy's temporary file and the log as it was.
    const pid_t killed = KilledHalfWay(64, [] {
        TResultsLog window;
        window.LoadIntoList();
        window.DeleteLine(1);
        window.Save();
    });
    ASSERT_GT(killed, 0);
    const std::filesystem::path previous =
        scratch.SysDir() / (std::string(TResultsLog::kFileName) + TResultsLogFile::kPreviousSuffix);
    const auto copies = TemporaryFilesOf(previous);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_TRUE(
        copies[0].starts_with(previous.filename().string() + ".tmp" + std::to_string(killed) + "-"))
        << copies[0];

    // A program still writing keeps its own; other names are no business of the log.
    const std::string name = scratch.Log().filename().string();
    const std::string left = name + ".tmp" + std::to_string(killed) + "-";
    WriteBytes(scratch.SysDir() / (left + "0"), "x");
    const std::vector<std::string> kept = {name + ".tmp" + std::to_string(::getpid()) + "-7",
                                           left + "1.bak", name + ".tmp" + "-1",
                                           name + ".tmp" + std::to_string(killed)};
    for (const std::string& other : kept)
        WriteBytes(scratch.SysDir() / other, "x");
    WriteBytes(scratch.SysDir() / ("inny.dll.tmp" + std::to_string(killed) + "-0"), "x");
    TResultsLog().AppendResultLine("c");
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(TemporaryFilesOf(scratch.Log()), expected);
    EXPECT_TRUE(std::filesystem::exists(scratch.SysDir() /
                                        ("inny.dll.tmp" + std::to_string(killed) + "-0")));
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. " + std::string(200, 'a') + "\r\n2. b\r\n3. c\r\n");

    // The next save keeps its copy, and the killed one's goes.
    TResultsLog window;
    window.LoadIntoList();
    window.DeleteLine(2);
    window.Save();
    EXPECT_TRUE(TemporaryFilesOf(previous).empty());
    EXPECT_EQ(ReadBytes(previous), "1. " + std::string(200, 'a') + "\r\n2. b\r\n3. c\r\n");
}

TEST(ResultsLogDurability, ABackupLeftByAKilledInPlaceSaveGoesAtTheNextSave) {
    TLogScratch scratch;
    WriteBytes(scratch.Log(), "1. a\r\n2. b\r\n");
    std::filesystem::permissions(scratch.Log(), std::filesystem::perms(0666));
    std::filesystem::permissions(scratch.SysDir(), std::filesystem::perms(0555));
    const pid_t gone = Spawn([] {});
    ExpectAllExitedCleanly({gone});
    // What a save killed while it wrote the log in place leaves, beside a copy
    // of a save still running and one of another file.
    const std::string name = scratch.Log().filename().string();
    const auto backups = scratch.DataHome() / "Kwizmar";
    const std::string stale = name + ".kopia-" + std::to_string(gone) + "-0";
    const std::vector<std::string> kept = {name + ".kopia-" + std::to_string(::getpid()) + "-3",
                                           "inny.dll.kopia-" + std::to_string(gone) + "-0"};
    for (const std::string& file : kept)
        WriteBytes(backups / file, "x");
    WriteBytes(backups / stale, "1. a\r\n2. b\r\n");
    std::filesystem::permissions(backups, std::filesystem::perms(0777));

    EXPECT_EQ(AsOrdinaryUser([] {
                  TResultsLog log;
                  log.LoadIntoList();
                  log.DeleteLine(0);
                  log.Save();
              }),
              "");
    EXPECT_EQ(ReadBytes(scratch.Log()), "2. b\r\n");
    // The log as it was, where the shared folder takes no new file.
    std::vector<std::string> left = kept;
    left.push_back(name + TResultsLogFile::kPreviousSuffix);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(FilesIn(backups), left);
    EXPECT_EQ(ReadBytes(backups / (name + TResultsLogFile::kPreviousSuffix)), "1. a\r\n2. b\r\n");
}

TEST(ResultsLogDurability, FourProgramsAppendingAtOnceNumberEveryLineInTurn) {
    TLogScratch scratch;
    constexpr int kPrograms = 4, kEach = 300;
    std::vector<pid_t> children;
    for (int c = 0; c < kPrograms; ++c)
        children.push_back(Spawn([c] {
            TResultsLog log;
            for (int i = 0; i < kEach; ++i)
                log.AppendResultLine("program " + std::to_string(c) + " wynik " +
                                     std::to_string(i));
        }));
    ExpectAllExitedCleanly(children);

    TResultsLog log;
    log.LoadIntoList();
    ASSERT_EQ(log.lines().size(), std::size_t(kPrograms * kEach));
    std::set<std::string> texts;
    for (std::size_t i = 0; i < log.lines().size(); ++i) {
        const std::string prefix = std::to_string(i + 1) + ". ";
        ASSERT_EQ(log.lines()[i].substr(0, prefix.size()), prefix);
        texts.insert(log.lines()[i].substr(prefix.size()));
    }
    EXPECT_EQ(texts.size(), std::size_t(kPrograms * kEach));
}

TEST(ResultsLogDurability, StatisticsSavesRacingFinishesLoseNoResult) {
    TLogScratch scratch;
    constexpr int kJunk = 40, kEach = 100;
    std::string junk;
    for (int i = 0; i < kJunk; ++i)
        junk += "0. do usunięcia\r\n";
    WriteBytes(scratch.Log(), junk);

    std::vector<pid_t> children;
    for (int c = 0; c < 2; ++c)
        children.push_back(Spawn([c] {
            TResultsLog log;
            for (int i = 0; i < kEach; ++i)
                log.AppendResultLine("program " + std::to_string(c) + " wynik " +
                                     std::to_string(i));
        }));
    // A teacher deletes the junk one line and one save at a time.
    children.push_back(Spawn([] {
        TResultsLog log;
        for (int removed = 0; removed < kJunk;) {
            log.LoadIntoList();
            log.DeleteLine(0);
            try {
                log.Save();
                ++removed;
            } catch (const EResultsLogChanged&) {
            }
        }
    }));
    ExpectAllExitedCleanly(children);

    TResultsLog log;
    log.LoadIntoList();
    std::set<std::string> texts;
    for (const std::string& line : log.lines())
        texts.insert(line.substr(line.find(". ") + 2));
    EXPECT_EQ(log.lines().size(), std::size_t(2 * kEach));
    EXPECT_EQ(texts.size(), std::size_t(2 * kEach));
    EXPECT_EQ(texts.count("do usunięcia"), 0u);
}

TEST(ResultsLogDurability, ALockFileLeftByAKilledProgramDoesNotHoldTheNextResultBack) {
    TLogScratch scratch;
    TResultsLog().AppendResultLine("a");
    const pid_t killed = Spawn([&] {
        const TServerLock lock(scratch.Log());
        ::raise(SIGKILL);
    });
    ::waitpid(killed, nullptr, 0);
    ASSERT_TRUE(std::filesystem::exists(TServerLock::LockFileOf(scratch.Log())));

    EXPECT_EQ(TResultsLog().AppendResultLine("b"), 2);
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. a\r\n2. b\r\n");
    EXPECT_EQ(FilesIn(scratch.SysDir()), std::vector<std::string>{"MSStr32.dll"});
}

// A lab's folder: setgid, owned by root and the pupils' group. The first
// pupil's finish makes the log; every other pupil of the group appends to it.
TEST(ResultsLogDurability, EveryMemberOfASharedFoldersGroupAppendsAfterTheFirst) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can act as two other users";
    constexpr gid_t kPupils = 4242;
    constexpr uid_t kFirst = 4001, kSecond = 4002;
    struct TCase {
        mode_t folder, log;
    } cases[] = {{02775, 0664}, {02770, 0660}};
    for (const TCase& c : cases) {
        TLogScratch scratch;
        std::filesystem::permissions(scratch.Root(), std::filesystem::perms(0755));
        ASSERT_EQ(::chown(scratch.SysDir().c_str(), 0, kPupils), 0);
        ASSERT_EQ(::chmod(scratch.SysDir().c_str(), c.folder), 0);
        auto finish = [&](uid_t pupil, const std::string& text) {
            const std::filesystem::path home = scratch.Root() / std::to_string(pupil);
            std::filesystem::create_directories(home);
            EXPECT_EQ(::chown(home.c_str(), pupil, pupil), 0);
            return RunAsUser(pupil, pupil, {kPupils}, [&]() -> std::string {
                SetEnv("XDG_DATA_HOME", home.string());
                TResultsLog().AppendResultLine(text);
                return "";
            });
        };
        EXPECT_EQ(finish(kFirst, "a"), "") << std::oct << c.folder;
        EXPECT_EQ(finish(kSecond, "b"), "") << std::oct << c.folder;
        EXPECT_EQ(ReadBytes(scratch.Log()), "1. a\r\n2. b\r\n") << std::oct << c.folder;
        const struct stat log = StatOf(scratch.Log());
        EXPECT_EQ(log.st_gid, kPupils);
        EXPECT_EQ(log.st_mode & 07777, c.log) << std::oct << c.folder;
        EXPECT_EQ(FilesIn(scratch.SysDir()), std::vector<std::string>{"MSStr32.dll"});
    }
}
