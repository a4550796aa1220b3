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
