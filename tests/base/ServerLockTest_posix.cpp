// The lock a file server decides for every computer sharing a folder, on local
// folders: it excludes by the lock file alone, and a lock left behind by a
// holder that is gone gives way, while a live one does not.
#include "ServerLock.h"
#include "ServerLockPlatform.h"

#include "Scratch.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace kwizmar;

namespace {

template <class F> pid_t Spawn(F body) {
    const pid_t child = ::fork();
    if (child == 0) {
        int status = 0;
        try {
            status = body() ? 0 : 2;
        } catch (...) {
            status = 1;
        }
        _exit(status);
    }
    return child;
}

bool ExitedCleanly(pid_t child) {
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Makes the lock of `file` as a holder named `holder` would have left it
// (none: killed before it wrote its name), `age` old.
void LeaveLock(const std::filesystem::path& file, const std::string& holder,
               std::chrono::seconds age) {
    const std::filesystem::path lock = TServerLock::LockFileOf(file);
    std::filesystem::create_directory(lock);
    const std::filesystem::path stamped = holder.empty() ? lock : lock / holder;
    if (!holder.empty())
        WriteBytes(stamped, "komputer: inny\n");
    const timespec times[2] = {{::time(nullptr) - age.count(), 0},
                               {::time(nullptr) - age.count(), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, stamped.c_str(), times, 0), 0);
}

// The id of a process that has just ended.
std::string GoneProcess() {
    const pid_t child = Spawn([] { return true; });
    ::waitpid(child, nullptr, 0);
    return std::to_string(child);
}

} // namespace

TEST(ServerLock, TheLockAloneKeepsChangesOfSeveralProcessesApart) {
    TScratch scratch;
    const std::filesystem::path counter = scratch.Root() / "licznik";
    WriteBytes(counter, "0");
    constexpr int kProcesses = 4, kEach = 150;
    std::vector<pid_t> children;
    for (int c = 0; c < kProcesses; ++c)
        children.push_back(Spawn([&] {
            for (int i = 0; i < kEach; ++i) {
                const TServerLock lock(counter);
                if (!lock.Held())
                    return false;
                const int value = std::stoi(ReadBytes(counter));
                WriteBytes(counter, std::to_string(value + 1));
            }
            return true;
        }));
    for (pid_t child : children)
        EXPECT_TRUE(ExitedCleanly(child));
    EXPECT_EQ(ReadBytes(counter), std::to_string(kProcesses * kEach));
    EXPECT_FALSE(std::filesystem::exists(TServerLock::LockFileOf(counter)));
}

TEST(ServerLock, ALockWhoseHolderIsGoneGivesWayAtOnce) {
    using namespace std::chrono_literals;
    const std::string host = serverlock::ThisHost();
    const std::string self = ThisProcess();
    // With a bound no test waits out, only the holder's being gone counts;
    // with the usual one, a lock a minute old by the server's clock is gone.
    struct TCase {
        const char* what;
        std::string holder;
        std::chrono::seconds age, bound;
    } cases[] = {
        {"a killed process of this computer", host + "_" + GoneProcess() + "__x", 0s, 600s},
        {"a process id now used by another program", host + "_" + self + "_1_x", 0s, 600s},
        {"another computer's lock, old by the server's clock", "inny_1__x", 60s,
         TServerLock::kStaleAfter},
        {"a holder killed before writing its name", "", 60s, TServerLock::kStaleAfter},
    };
    for (const TCase& c : cases) {
        TScratch scratch;
        const std::filesystem::path file = scratch.Root() / "plik";
        LeaveLock(file, c.holder, c.age);
        // In a child, so that a lock that doesn't give way fails the case
        // (the alarm ends the child) instead of holding the suite up.
        EXPECT_TRUE(ExitedCleanly(Spawn([&] {
            ::alarm(30);
            const TServerLock lock(file, {.staleAfter = c.bound});
            return lock.Held() && lock.StillHeld();
        }))) << c.what;
    }
}

TEST(ServerLock, ALiveLockOfAnotherComputerIsWaitedFor) {
    TScratch scratch;
    const std::filesystem::path file = scratch.Root() / "plik";
    const std::filesystem::path lock = TServerLock::LockFileOf(file);
    LeaveLock(file, "inny_1__x", std::chrono::seconds(0));
    const pid_t waiter = Spawn([&] {
        const TServerLock taken(file, {.staleAfter = std::chrono::seconds(600)});
        return taken.Held();
    });
    ::usleep(300'000);
    int status = 0;
    EXPECT_EQ(::waitpid(waiter, &status, WNOHANG), 0) << "the lock was taken from a live holder";
    EXPECT_TRUE(std::filesystem::exists(lock / "inny_1__x"));
    std::filesystem::remove_all(lock);
    EXPECT_TRUE(ExitedCleanly(waiter));
}

TEST(ServerLock, AFolderWithoutRoomForALockFileLeavesTheLockToTheFile) {
    TScratch scratch;
    const std::filesystem::path folder = scratch.Root() / "tylko-do-odczytu";
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms(0555));
    EXPECT_EQ(RunUnprivileged([&]() -> std::string {
                  const TServerLock lock(folder / "plik");
                  return lock.Held() ? "held" : "";
              }),
              "");
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

// The threads of one program (the window's and the delivery's) take turns as
// copies of the program do, and never take each other's lock for one left
// behind.
TEST(ServerLock, ThreadsOfOneProgramTakeTurnsWithoutBreakingEachOthersLock) {
    TScratch scratch;
    const std::filesystem::path counter = scratch.Root() / "licznik";
    WriteBytes(counter, "0");
    constexpr int kThreads = 3, kEach = 100;
    std::atomic<int> notHeld{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < kEach; ++i) {
                const TServerLock lock(counter);
                if (!lock.Held()) {
                    ++notHeld;
                    continue;
                }
                const int value = std::stoi(ReadBytes(counter));
                std::this_thread::yield();
                WriteBytes(counter, std::to_string(value + 1));
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(notHeld, 0);
    EXPECT_EQ(ReadBytes(counter), std::to_string(kThreads * kEach));
}

// A lock another computer keeps fresh is waited for as long as the caller
// said, and then neither taken nor broken: the caller changes nothing. A
// server that stood still makes every lock look old by its clock the moment
// it answers again, so a lock is broken only once this copy has also watched
// it stay the same for half the bound.
TEST(ServerLock, ALiveLookingLockIsNeitherTakenNorBrokenBeforeItsTime) {
    using namespace std::chrono_literals;
    TScratch scratch;
    const std::filesystem::path fresh = scratch.Root() / "swiezy", old = scratch.Root() / "stary";
    LeaveLock(fresh, "inny_1__x", 0s);
    LeaveLock(old, "inny_1__x", 60s);
    std::atomic<bool> stop{true};
    const struct {
        const std::filesystem::path& file;
        TLockWait wait;
        TServerLock::TState state;
    } cases[] = {
        {fresh, {.patience = 1500ms}, TServerLock::TState::Busy},
        {fresh, {.stop = &stop}, TServerLock::TState::Stopped},
        {old, {.patience = 1s, .staleAfter = 4s}, TServerLock::TState::Busy},
        {old, {.patience = 20s, .staleAfter = 4s}, TServerLock::TState::Held},
    };
    for (const auto& c : cases) {
        const TServerLock lock(c.file, c.wait);
        EXPECT_EQ(lock.State(), c.state) << c.file;
        EXPECT_EQ(lock.MayChange(), c.state == TServerLock::TState::Held) << c.file;
    }
    EXPECT_TRUE(std::filesystem::exists(TServerLock::LockFileOf(fresh) / "inny_1__x"));
}

// The end of a lock frees it at once although the server still lists a file
// in its folder for a moment (SMB keeps a removed file another client has
// open); server-clock probes a failing server left behind go at the next
// lock, the fresh ones of other copies stay.
TEST(ServerLock, ALockEndsPromptlyAndLeavesNoProbesBehind) {
    TScratch scratch;
    const std::filesystem::path file = scratch.Root() / "plik";
    const std::filesystem::path lock = TServerLock::LockFileOf(file);
    auto probe = [&](const char* name, std::time_t age) {
        const std::filesystem::path path = scratch.Root() / name;
        WriteBytes(path, "");
        const timespec times[2] = {{::time(nullptr) - age, 0}, {::time(nullptr) - age, 0}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    };
    probe("plik.blokada.zegar-77-1", 120);
    probe("plik.blokada.zegar-77-2", 0);
    std::thread removing;
    {
        const TServerLock held(file);
        ASSERT_TRUE(held.Held());
        WriteBytes(lock / "usuwany", "");
        removing = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            std::filesystem::remove(lock / "usuwany");
        });
    }
    removing.join();
    EXPECT_FALSE(std::filesystem::exists(lock));
    EXPECT_FALSE(std::filesystem::exists(scratch.Root() / "plik.blokada.zegar-77-1"));
    EXPECT_TRUE(std::filesystem::exists(scratch.Root() / "plik.blokada.zegar-77-2"));
}
