// The installer's look at the running copies of the programs it replaces:
// real processes, started from a folder of their own.
#include "RunningCopies.h"

#include "Paths.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace kwizmar;
using namespace std::chrono_literals;

namespace {

// Copies of RunningCopyProgram_win.cpp, each under a name of the program's,
// in a folder of their own; whatever still runs is ended at the end.
class TCopies {
public:
    ~TCopies() {
        for (HANDLE process : processes_) {
            TerminateProcess(process, 9);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }

    const std::filesystem::path& Folder() const { return folder_.path(); }

    // Starts `name` from the folder; false when it didn't come up.
    bool Start(const std::wstring& name, const std::wstring& how = L"") {
        wchar_t own[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, own, MAX_PATH);
        const auto program = Folder() / name;
        std::filesystem::copy_file(std::filesystem::path(own).parent_path() /
                                       L"running_copy_program.exe",
                                   program, std::filesystem::copy_options::overwrite_existing);
        const std::wstring event = L"KwizmarCopyRuns" + std::to_wstring(processes_.size()) + L"_" +
                                   std::to_wstring(GetCurrentProcessId());
        HANDLE running = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
        std::wstring line = L"\"" + program.wstring() + L"\" " + event + L" " + how;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        const bool ok = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                       nullptr, &startup, &started);
        if (ok) {
            CloseHandle(started.hThread);
            processes_.push_back(started.hProcess);
            pids_.push_back(started.dwProcessId);
        }
        const bool up = ok && WaitForSingleObject(running, 30000) == WAIT_OBJECT_0;
        CloseHandle(running);
        return up;
    }

    unsigned long Pid(std::size_t i) const { return pids_.at(i); }

private:
    kwizmar::testing::TTempDir folder_;
    std::vector<HANDLE> processes_;
    std::vector<unsigned long> pids_;
};

std::vector<std::string> Programs(const std::vector<TRunningCopy>& copies) {
    std::vector<std::string> names;
    for (const auto& copy : copies)
        names.push_back(copy.program);
    return names;
}

} // namespace

TEST(RunningCopies, AreFoundInTheirFolderAndEndWhenAsked) {
    TCopies copies;
    ASSERT_TRUE(copies.Start(L"kwizmar.exe"));
    kwizmar::testing::TTempDir elsewhere;
    EXPECT_TRUE(RunningCopiesIn({Utf8FromPath(elsewhere.path())}).empty());
    // The folder as a user may spell it: other letter case, a slash at the end.
    std::string spelt = Utf8FromPath(copies.Folder());
    for (char& c : spelt)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    const auto found = RunningCopiesIn({"", spelt + "\\"});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].pid, copies.Pid(0));
    EXPECT_EQ(found[0].program, "kwizmar.exe");

    EXPECT_EQ(AskToEnd(found, 5s), 1);
    EXPECT_TRUE(WaitForTheEnd({Utf8FromPath(copies.Folder())}, 20s).empty());
}

TEST(RunningCopies, OneThatRefusesOrHasNoWindowRunsOn) {
    TCopies copies;
    ASSERT_TRUE(copies.Start(L"kwizmar-edytor.exe", L"refuses"));
    ASSERT_TRUE(copies.Start(L"kwizmar-ts2.exe", L"windowless"));
    const std::vector<std::string> folder{Utf8FromPath(copies.Folder())};
    const auto found = RunningCopiesIn(folder);
    EXPECT_EQ(AskToEnd(found, 2s), 1); // the windowless one has nothing to ask
    EXPECT_EQ(Programs(WaitForTheEnd(folder, 1s)),
              (std::vector<std::string>{found[0].program, found[1].program}));
}
