#include "LockdownRecord.h"

#include "CallNames.h"
#include "Folders.h"
#include "LockdownRecorder.h"
#include "Paths.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace kwizmar;

namespace {

// A record in memory that remembers how many calls had reached `shell` when it
// was last written.
class TFakeRecord final : public ILockdownRecord {
public:
    explicit TFakeRecord(const TLockdownRecorder* shell = nullptr) : shell_(shell) {}
    void Write(const TLockdownHolder& holder) noexcept override {
        held = holder;
        if (shell_)
            callsAtWrite = shell_->Calls().size();
    }
    std::optional<TLockdownHolder> Read() noexcept override { return held; }
    void Remove() noexcept override { held.reset(); }

    std::optional<TLockdownHolder> held;
    std::size_t callsAtWrite = 0;

private:
    const TLockdownRecorder* shell_;
};

const TLockdownHolder kSelf{"100", "5000"};
const TLockdownHolder kOther{"200", "6000"};

} // namespace

// The record is there from the first lock (before the shell is touched) to
// the last lift; the calls reach the shell as they came.
TEST(LockdownRecord, IsKeptFromTheFirstLockUntilNothingIsLocked) {
    TLockdownRecorder shell, plain;
    TFakeRecord record(&shell);
    std::vector<bool> told;
    TRecordedLockdown ops(shell, record, kSelf, [&](bool locked) { told.push_back(locked); });
    struct TStep {
        const char* what;
        std::function<void(ILockdownOperations&)> act;
        std::optional<TLockdownHolder> recorded;
    } steps[] = {
        {"nothing locked yet", [](auto& o) { TaskbarLockdown(o, false); }, std::nullopt},
        {"the desktop locked", [](auto& o) { DesktopLockdown(o, true); }, kSelf},
        {"the taskbar locked too", [](auto& o) { TaskbarLockdown(o, true); }, kSelf},
        {"the desktop unlocked, the taskbar not", [](auto& o) { DesktopLockdown(o, false); },
         kSelf},
        {"both unlocked", [](auto& o) { TaskbarLockdown(o, false); }, std::nullopt},
        {"Alt+Tab alone", [](auto& o) { o.LockTaskSwitch(true); }, kSelf},
        {"the main window closed", [](auto& o) { LiftEverything(o); }, std::nullopt},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.what);
        const bool recordedBefore = record.held.has_value();
        const std::size_t callsBefore = shell.Calls().size();
        step.act(ops);
        step.act(plain);
        EXPECT_EQ(record.held, step.recorded);
        if (!recordedBefore && record.held) {
            EXPECT_EQ(record.callsAtWrite, callsBefore);
        }
        EXPECT_EQ(Names(shell.Calls()), Names(plain.Calls()));
    }
    EXPECT_EQ(told, (std::vector<bool>{true, false, true, false}));

    // Another copy of the program that locked since has its record kept.
    DesktopLockdown(ops, true);
    record.Write(kOther);
    LiftEverything(ops);
    EXPECT_EQ(record.held, kOther);
}

// At the start a lockdown left by a process that no longer runs is lifted and
// its record removed; a running holder's is left alone.
TEST(LockdownRecord, TheStartLiftsWhatAHolderThatIsGoneLeft) {
    TLockdownRecorder lifted;
    LiftEverything(lifted);
    const std::set<std::string> running = {kSelf.process};
    struct TCase {
        const char* what;
        std::optional<TLockdownHolder> record;
        bool lifts;
    } cases[] = {
        {"no record", std::nullopt, false},
        {"its holder is gone", kOther, true},
        {"its holder runs", kSelf, false},
        {"a record naming nobody", TLockdownHolder{}, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TLockdownRecorder shell;
        TFakeRecord record;
        record.held = c.record;
        EXPECT_EQ(LiftLockdownLeftBehind(record, shell,
                                         [&](const TLockdownHolder& holder) {
                                             return !running.count(holder.process);
                                         }),
                  c.lifts);
        EXPECT_EQ(Names(shell.Calls()),
                  c.lifts ? Names(lifted.Calls()) : std::vector<std::string>{});
        EXPECT_EQ(record.held, c.lifts ? std::nullopt : c.record);
    }
}

// The file in the user's own data folder: made with the folder, read back,
// removed; one that can't be understood names nobody; one that can't be
// written is no failure.
TEST(LockdownRecord, TheFileNamesItsHolderInTheUsersOwnDataFolder) {
    TScratch scratch;
    TLockdownRecordFile record;
    const std::filesystem::path file =
        PathFromUtf8(UserDataFolder()) / TLockdownRecordFile::kFileName;
    const TLockdownHolder self = ThisLockdownHolder();
    ASSERT_FALSE(self.start.empty());

    EXPECT_EQ(record.Read(), std::nullopt);
    record.Write(self);
    EXPECT_EQ(record.Read(), self);
    record.Remove();
    EXPECT_FALSE(std::filesystem::exists(file));

    WriteBytes(file, "Kwizmar\n");
    EXPECT_EQ(record.Read(), TLockdownHolder{});
    record.Remove();

    // A file where the data folder should be.
    std::filesystem::remove_all(file.parent_path());
    WriteBytes(file.parent_path(), "");
    record.Write(self);
    EXPECT_EQ(record.Read(), std::nullopt);
}
