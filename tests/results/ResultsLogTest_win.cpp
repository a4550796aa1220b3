#include "ResultsLog.h"

#include "Paths.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

// Where the log lands on Windows, with the system's own registry as a pupil's
// computer has it. The Setup key is the whole machine's: the test sets its
// SysDir as each case needs and puts back what was there.

using namespace kwizmar;

namespace {

const wchar_t* const kSetup = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";

// The Setup key's SysDir for the test's time: the value as it was (its type
// and bytes), put back at the end.
class TSetupSysDir {
public:
    TSetupSysDir() {
        DWORD size = 0;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, kSetup, L"SysDir", RRF_RT_ANY | RRF_NOEXPAND, &type_,
                         nullptr, &size) == ERROR_SUCCESS) {
            saved_.emplace(size, '\0');
            RegGetValueW(HKEY_LOCAL_MACHINE, kSetup, L"SysDir", RRF_RT_ANY | RRF_NOEXPAND, &type_,
                         saved_->data(), &size);
        }
    }
    ~TSetupSysDir() {
        if (saved_)
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSetup, L"SysDir", type_, saved_->data(),
                            DWORD(saved_->size()));
        else
            Set(std::nullopt);
    }
    TSetupSysDir(const TSetupSysDir&) = delete;
    TSetupSysDir& operator=(const TSetupSysDir&) = delete;

    // Nothing removes the value.
    static void Set(const std::optional<std::filesystem::path>& folder) {
        if (!folder) {
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSetup, L"SysDir");
            return;
        }
        const std::wstring text = folder->wstring();
        ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSetup, L"SysDir", REG_SZ, text.c_str(),
                                  DWORD((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

private:
    DWORD type_ = REG_NONE;
    std::optional<std::string> saved_;
};

} // namespace

// Today's Windows has no SysDir: every pupil's result goes to the one log in
// the folder all users share, made on the first finish; a SysDir naming a
// folder that is there still wins.
TEST(WindowsResultsLog, GoesWhereSysDirNamesAFolderElseToTheSharedDataFolder) {
    const wchar_t* programData = _wgetenv(L"PROGRAMDATA");
    ASSERT_TRUE(programData && *programData);
    const std::filesystem::path vendor = std::filesystem::path(programData) / L"Nerbaly";
    const std::filesystem::path shared = vendor / L"Kwizmar";
    if (std::filesystem::exists(vendor))
        GTEST_SKIP() << "the program is installed here: its log is left alone";

    struct TRemovedAtEnd {
        std::filesystem::path folder;
        ~TRemovedAtEnd() {
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
        }
    } made{vendor};
    TScratch scratch; // the results that can't reach the log wait in its APPDATA
    TSetupSysDir sysDir;
    const std::filesystem::path existing = scratch.Root() / L"wyniki";
    std::filesystem::create_directories(existing);
    struct TCase {
        const char* what;
        std::optional<std::filesystem::path> sysDir;
        std::filesystem::path expected;
    } cases[] = {
        {"no SysDir", std::nullopt, shared},
        {"a SysDir naming a folder that is gone", scratch.Root() / L"nie-ma", shared},
        {"a SysDir naming a folder", existing, existing},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TSetupSysDir::Set(c.sysDir);
        TResultsLog log;
        EXPECT_EQ(log.AppendResultLine("Wynik."), 1);
        EXPECT_EQ(PathFromUtf8(log.Directory()), c.expected);
        EXPECT_EQ(ReadBytes(c.expected / L"MSStr32.dll"), "1. Wynik.\r\n");
        std::filesystem::remove_all(vendor);
    }
}
