// A program of windows answers --version into the console of the command line
// that started it, or into the file or pipe its output goes to.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <windows.h>

namespace {

const std::wstring kLine = L"kwizmar 1.5 zażółć gęślą jaźń";

// Runs CommandLinePrinter_win.cpp (beside the test program) to its end with
// the standard output given (or none); its exit code.
DWORD RunPrinter(HANDLE output) {
    wchar_t own[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring line =
        L"\"" + (std::filesystem::path(own).parent_path() / L"command_line_printer.exe").wstring() +
        L"\"";
    // Without an output, no standard handles at all, as Windows starts a
    // program of windows from a command line.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                        nullptr, &startup, &started))
        return 99;
    WaitForSingleObject(started.hProcess, 30000);
    DWORD code = 98;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return code;
}

} // namespace

TEST(CommandLineOutput, GoesIntoTheStartingConsoleOrAsUtf8IntoAPipe) {
    // A console of this test's own, as cmd has one, with nothing on it yet.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    HANDLE screen =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunPrinter(nullptr), 0u);
    std::wstring shown(kLine.size(), L'\0');
    DWORD read = 0;
    ASSERT_TRUE(
        ReadConsoleOutputCharacterW(screen, shown.data(), DWORD(shown.size()), {0, 0}, &read));
    EXPECT_EQ(shown, kLine);
    CloseHandle(screen);
    FreeConsole();

    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherited, 0));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    EXPECT_EQ(RunPrinter(writeEnd), 0u);
    CloseHandle(writeEnd);
    std::string bytes(200, '\0');
    DWORD got = 0;
    ReadFile(readEnd, bytes.data(), DWORD(bytes.size()), &got, nullptr);
    CloseHandle(readEnd);
    bytes.resize(got);
    EXPECT_EQ(bytes, "kwizmar 1.5 zażółć gęślą jaźń\n");
}
