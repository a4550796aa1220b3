// The results log of a school lab: one log on a file server, computers whose
// SMB clients keep their file locks to themselves, copies of the program
// finishing at the same moment on each. A real Samba server and two real SMB
// clients (see SambaRig.h); every result must reach the log exactly once,
// numbered in turn.
#include "AnswerRecordsFile.h"
#include "ResultsLog.h"
#include "ResultsLogFormat.h"
#include "ServerLock.h"

#include "ChildProcesses.h"
#include "MemoryRegistry.h"
#include "SambaRig.h"
#include "Scratch.h"
#include "SshfsRig.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kwizmar;

namespace {

// A registry whose machine-wide Setup key names `sysDir`, as the Setup file
// of one computer of the lab does.
std::unique_ptr<kwizmar::testing::TMemoryRegistry>
ComputerWith(const std::filesystem::path& sysDir) {
    auto registry = std::make_unique<kwizmar::testing::TMemoryRegistry>();
    registry->OpenKey(TRegistryRoot::LocalMachine, kSetupKey, true)
        ->WriteString("SysDir", sysDir.string());
    return registry;
}

// A copy of the program on the computer whose share is `sysDir`: `body` runs
// in a process of its own with the log of that computer. A child that hangs
// ends by its alarm, and so fails the test instead of holding the suite up.
template <class F> pid_t Copy(const std::filesystem::path& sysDir, F body) {
    return Spawn(
        [=] {
            auto registry = ComputerWith(sysDir);
            TResultsLog log(*registry);
            body(log);
        },
        240);
}

const TAnswerRecord kAnswers = {0, "", "\"Lab\"",
                                7, 1,  {{1, 'A', "Pyt", 'A', false, false, "", 1, 0}}};

// The log as the server holds it: its lines numbered 1, 2 … in turn, and
// the texts after the numbers; beside it, one answers' record per line,
// naming it.
std::multiset<std::string> NumberedInTurn(const std::filesystem::path& sysDir) {
    auto registry = ComputerWith(sysDir);
    TResultsLog log(*registry);
    log.LoadIntoList();
    std::multiset<std::string> texts, records, named;
    for (std::size_t i = 0; i < log.lines().size(); ++i) {
        const std::string line = log.lines()[i];
        const std::string number = std::to_string(i + 1) + ". ";
        EXPECT_EQ(line.substr(0, number.size()), number) << line;
        const std::string text = line.substr(line.find(". ") + 2);
        texts.insert(text);
        named.insert(FormatAnswerRecord(RecordOfLine(kAnswers, int(i + 1), text)));
    }
    const std::string bytes = ReadBytes(sysDir / kAnswerRecordsFileName);
    for (std::string_view record : SplitLogLines(bytes))
        records.emplace(record);
    EXPECT_EQ(records, named);
    return texts;
}

// The finish as the program makes it: a result the share refused for the
// moment (an SMB client that fails for a few seconds under load) waits on
// the computer and goes in with the next result.
void Finish(TResultsLog& log, const std::string& text) {
    try {
        log.AppendResultLine(text, kAnswers);
    } catch (const EResultWaits&) {
    }
}

// The lesson's last result, on the computer whose share is `share`, takes any
// result still waiting along; then the log holds `results` + 1 lines,
// numbered in turn, each once.
void ExpectEachResultOnceAfterTheLesson(const std::filesystem::path& share,
                                        const std::filesystem::path& server, int results) {
    ExpectAllExitedCleanly(
        {Copy(share, [](TResultsLog& log) { log.AppendResultLine("koniec lekcji", kAnswers); })});
    const std::multiset<std::string> texts = NumberedInTurn(server);
    EXPECT_EQ(texts.size(), std::size_t(results + 1));
    EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()).size(), texts.size());
}

class LabShare : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string why = TSambaRig::Unavailable();
        if (!why.empty())
            GTEST_SKIP() << why;
        rig = std::make_unique<TSambaRig>(2);
    }

    TScratch scratch; // the users' own folders (results that wait), outside the share
    std::unique_ptr<TSambaRig> rig;
};

} // namespace

TEST_F(LabShare, TwoComputersWithTwoCopiesEachLoseNoResultAndNumberInTurn) {
    constexpr int kComputers = 2, kCopies = 2, kEach = 100;
    std::vector<pid_t> children;
    for (int computer = 0; computer < kComputers; ++computer)
        for (int copy = 0; copy < kCopies; ++copy)
            children.push_back(Copy(rig->Share(computer), [=](TResultsLog& log) {
                for (int i = 0; i < kEach; ++i)
                    Finish(log, "komputer " + std::to_string(computer) + " kopia " +
                                    std::to_string(copy) + " wynik " + std::to_string(i));
            }));
    ExpectAllExitedCleanly(children);
    ExpectEachResultOnceAfterTheLesson(rig->Share(0), rig->ServerFolder(),
                                       kComputers * kCopies * kEach);
    EXPECT_FALSE(std::filesystem::exists(scratch.DataHome() / "Kwizmar/wyniki-oczekujace.txt"));
    EXPECT_FALSE(std::filesystem::exists(
        TServerLock::LockFileOf(rig->ServerFolder() / TResultsLog::kFileName)));
}

TEST_F(LabShare, AStatisticsSaveOnOneComputerLosesNoResultOfTheOther) {
    constexpr int kJunk = 15, kEach = 60;
    std::string junk;
    for (int i = 0; i < kJunk; ++i)
        junk += "0. do usuni\xEA"
                "cia\r\n";
    WriteBytes(rig->ServerFolder() / TResultsLog::kFileName, junk);

    std::vector<pid_t> children;
    children.push_back(Copy(rig->Share(1), [](TResultsLog& log) {
        for (int i = 0; i < kEach; ++i)
            Finish(log, "wynik " + std::to_string(i));
    }));
    // The teacher removes the junk one line and one save at a time.
    children.push_back(Copy(rig->Share(0), [](TResultsLog& log) {
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
    ExpectAllExitedCleanly({Copy(
        rig->Share(1), [](TResultsLog& log) { log.AppendResultLine("koniec lekcji", kAnswers); })});

    auto registry = ComputerWith(rig->ServerFolder());
    TResultsLog log(*registry);
    log.LoadIntoList();
    std::set<std::string> texts;
    for (const std::string& line : log.lines())
        texts.insert(line.substr(line.find(". ") + 2));
    EXPECT_EQ(log.lines().size(), std::size_t(kEach + 1));
    EXPECT_EQ(texts.size(), std::size_t(kEach + 1));
    EXPECT_EQ(texts.count("do usunięcia"), 0u);
}

TEST_F(LabShare, ALockLeftByAKilledCopyOrASwitchedOffComputerLetsTheNextFinishIn) {
    const std::filesystem::path log = rig->ServerFolder() / TResultsLog::kFileName;
    const std::filesystem::path lock = TServerLock::LockFileOf(log);
    // A copy on this computer killed while it held the lock.
    const pid_t killed = ::fork();
    if (killed == 0) {
        const TServerLock held(rig->Share(0) / TResultsLog::kFileName);
        ::raise(SIGKILL);
    }
    ::waitpid(killed, nullptr, 0);
    ASSERT_TRUE(std::filesystem::exists(lock));
    ExpectAllExitedCleanly({Copy(rig->Share(1), [](TResultsLog& results) {
        if (results.AppendResultLine("po awarii") != 1)
            throw std::logic_error("numbered wrong");
    })});

    // Another computer switched off a minute ago, by the server's clock.
    std::filesystem::create_directory(lock);
    const std::filesystem::path holder = lock / "sala-12_4321__0123456789abcdef";
    WriteBytes(holder, "komputer: sala-12\n");
    const timespec minuteAgo[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, holder.c_str(), minuteAgo, 0), 0);
    ExpectAllExitedCleanly({Copy(rig->Share(0), [](TResultsLog& results) {
        if (results.AppendResultLine("po wyłączeniu") != 2)
            throw std::logic_error("numbered wrong");
    })});

    EXPECT_EQ(ReadBytes(log), "1. po awarii\r\n2. po wy\xB3\xB9"
                              "czeniu\r\n");
    EXPECT_FALSE(std::filesystem::exists(lock));
}

// The file server stops for seconds in the middle of a lesson's end and goes
// on: every result is in the log once, those that had to wait included.
TEST_F(LabShare, AServerThatStopsAndGoesOnLosesNoResultAndWritesNoneTwice) {
    constexpr int kCopies = 4, kEach = 25;
    std::vector<pid_t> children;
    for (int copy = 0; copy < kCopies; ++copy)
        children.push_back(Copy(rig->Share(copy % 2), [=](TResultsLog& log) {
            for (int i = 0; i < kEach; ++i) {
                Finish(log, "kopia " + std::to_string(copy) + " wynik " + std::to_string(i));
                ::usleep(20'000);
            }
        }));
    ::usleep(400'000);
    rig->Freeze();
    ::sleep(12);
    rig->Thaw();
    if (!AllExitedCleanlyWithin(children, std::chrono::seconds(150))) {
        // Now and then smbnetfs itself stops answering after such a stop,
        // and its callers wait in the kernel for good: nothing to learn of
        // the program then.
        rig->KillClients();
        ExpectAllExitedCleanly(children);
        GTEST_SKIP() << "the SMB client smbnetfs stopped answering after the server's stop";
    }
    ExpectEachResultOnceAfterTheLesson(rig->Share(0), rig->ServerFolder(), kCopies * kEach);
}

// Computers on sshfs (mounted as the README says) beside those on SMB: one
// server lock for all of them, and every result in once.
TEST_F(LabShare, ComputersOnSshfsAndOnSmbTakeTurnsOnOneLog) {
    if (const std::string why = TSshfsRig::Unavailable(); !why.empty())
        GTEST_SKIP() << why;
    const TSshfsRig ssh(rig->ServerFolder(), 2);
    const std::filesystem::path shares[] = {rig->Share(0), rig->Share(1), ssh.Share(0),
                                            ssh.Share(1)};
    constexpr int kEach = 40;
    std::vector<pid_t> children;
    for (int computer = 0; computer < 4; ++computer)
        children.push_back(Copy(shares[computer], [=](TResultsLog& log) {
            for (int i = 0; i < kEach; ++i)
                Finish(log, "komputer " + std::to_string(computer) + " wynik " + std::to_string(i));
        }));
    ExpectAllExitedCleanly(children);
    ExpectEachResultOnceAfterTheLesson(ssh.Share(0), rig->ServerFolder(), 4 * kEach);
}
