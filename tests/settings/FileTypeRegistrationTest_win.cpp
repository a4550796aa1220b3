#include "Settings.h"

#include "PackagedFiles.h"
#include "Paths.h"
#include "Scratch.h"

#include <gtest/gtest.h>
#include <windows.h>

// The test-file type in the system's classes root, written and read back over
// the registry API (Wine lets every user write there, as an administrator
// may on Windows).

using namespace kwizmar;

namespace {

std::wstring Default(const wchar_t* key) {
    wchar_t buffer[512] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return L"(none)";
    return buffer;
}

struct TClassesRootKeys {
    ~TClassesRootKeys() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".ts2");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TS2File");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\TS2File");
    }
};

} // namespace

TEST(WindowsFileType, OpensTestFilesWithTheProgramAndFailsWithoutItsIcon) {
    struct Row {
        const char* program;
        const wchar_t* command;
    };
    const Row rows[] = {
        {"C:\\Kwizmar\\kwizmar.exe", L"C:\\Kwizmar\\kwizmar.exe \"%1\""},
        {"C:\\Program Files\\Kwizmar źródło\\kwizmar.exe",
         L"\"C:\\Program Files\\Kwizmar \u017Ar\u00F3d\u0142o\\kwizmar.exe\" \"%1\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.program);
        TScratch scratch;
        TClassesRootKeys cleanUp;
        const std::string windows = Utf8FromPath(scratch.Root());
        WriteTestFileType(PlatformRegistry(), windows, row.program);

        EXPECT_EQ(Default(L".ts2"), L"TS2File");
        EXPECT_EQ(Default(L"TS2File"), L"Plik testowy programu Nerbaly KWIZMAR 2002");
        EXPECT_EQ(Default(L"TS2File\\DefaultIcon"),
                  (scratch.Root() / L"KwIc.dll").wstring() + L",0");
        EXPECT_EQ(Default(L"TS2File\\shell\\open"), L"&Egzaminuj");
        EXPECT_EQ(Default(L"TS2File\\shell\\open\\command"), row.command);
        EXPECT_EQ(ReadBytes(scratch.Root() / "KwIc.dll"), TestFileIconIco());
    }
    // An icon file that can't be written fails the registration. (One test:
    // the classes root is shared by test programs running side by side.)
    TScratch scratch;
    TClassesRootKeys cleanUp;
    const std::string missing = Utf8FromPath(scratch.Root() / "brak");
    EXPECT_ANY_THROW(WriteTestFileType(PlatformRegistry(), missing, "C:\\Kwizmar\\kwizmar.exe"));
}

TEST(WindowsFileType, TheInstallersTypeForThisProgramStandsWithNothingWritten) {
    struct Row {
        const wchar_t* installed; // the machine's command, as the installer wrote it
        bool written;
    };
    const Row rows[] = {
        {L"\"C:\\Program Files\\Kwizmar\\kwizmar.exe\" \"%1\"", false},
        {L"\"c:\\program files\\KWIZMAR\\Kwizmar.exe\" \"%1\"", false},
        {L"\"C:\\Stary Kwizmar\\kwizmar.exe\" \"%1\"", true}, // another copy's
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.written);
        TScratch scratch;
        TClassesRootKeys cleanUp;
        ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\TS2File\\shell\\open\\command",
                                  nullptr, REG_SZ, row.installed,
                                  static_cast<DWORD>((wcslen(row.installed) + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        // A Windows folder nobody may write: the registration fails where it writes.
        const std::string windows = Utf8FromPath(scratch.Root() / "brak");
        if (row.written) {
            EXPECT_ANY_THROW(WriteTestFileType(PlatformRegistry(), windows,
                                               "C:\\Program Files\\Kwizmar\\kwizmar.exe"));
        } else {
            EXPECT_NO_THROW(WriteTestFileType(PlatformRegistry(), windows,
                                              "C:\\Program Files\\Kwizmar\\kwizmar.exe"));
            EXPECT_EQ(Default(L".ts2"), L"(none)");
        }
    }
}
