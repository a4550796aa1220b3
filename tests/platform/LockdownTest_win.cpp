#include "Lockdown.h"

#include "LockdownRecord.h"
#include "Scratch.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

// The lockdown over the shell's windows, found by their class names. Wine's
// own taskbar is the one a pupil would meet; the windows Wine's shell doesn't
// have (the desktop window, the Start button) the test makes itself, of the
// same classes. Windows need a display: the suite runs on Xvfb. The record of
// the lockdown goes to each test's scratch folder.

using namespace kwizmar;

namespace {

LRESULT CALLBACK PlainWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
    return DefWindowProcW(window, message, w, l);
}

void RegisterClassOnce(const wchar_t* name) {
    WNDCLASSW type{};
    type.lpfnWndProc = PlainWindow;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = name;
    RegisterClassW(&type);
}

HWND Make(const wchar_t* type, HWND parent = nullptr) {
    RegisterClassOnce(type);
    const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
    return CreateWindowExW(0, type, L"", style, 0, 0, 10, 10, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// The shell's windows: the system's where it has them, else the test's own.
class TShell {
public:
    TShell() {
        progman = FindOrMake(L"Progman", nullptr);
        defView = progman ? FindOrMake(L"ShellDll_DefView", progman) : nullptr;
        tray = FindOrMake(L"Shell_TrayWnd", nullptr);
        start = tray ? FindOrMake(L"Button", tray) : nullptr;
    }
    ~TShell() {
        for (auto made = made_.rbegin(); made != made_.rend(); ++made)
            DestroyWindow(*made);
    }
    TShell(const TShell&) = delete;
    TShell& operator=(const TShell&) = delete;

    HWND progman = nullptr, defView = nullptr, tray = nullptr, start = nullptr;

private:
    HWND FindOrMake(const wchar_t* type, HWND parent) {
        HWND found =
            parent ? FindWindowExW(parent, nullptr, type, nullptr) : FindWindowW(type, nullptr);
        if (found)
            return found;
        HWND made = Make(type, parent);
        if (made)
            made_.push_back(made);
        return made;
    }
    std::vector<HWND> made_;
};

bool CanMakeWindows() {
    HWND probe = Make(L"KwizmarProbe");
    if (!probe)
        return false;
    DestroyWindow(probe);
    return true;
}

// What the lockdown changes: the desktop's icons shown, the desktop view
// enabled, the taskbar shown and enabled, the Start button enabled.
std::vector<bool> States(const TShell& shell) {
    return {IsWindowVisible(shell.defView) != FALSE, IsWindowEnabled(shell.defView) != FALSE,
            IsWindowVisible(shell.tray) != FALSE, IsWindowEnabled(shell.tray) != FALSE,
            IsWindowEnabled(shell.start) != FALSE};
}
const std::vector<bool> kWhole(5, true);
const std::vector<bool> kLocked(5, false);

// Another program's calls on the test's windows are messages to this thread:
// they are dispatched while it waits.
void Dispatch() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

// Waits for `object`, dispatching; false after two minutes (a program that
// hangs).
bool WaitDispatching(HANDLE object) {
    for (int round = 0; round < 1200; ++round) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &object, FALSE, 100, QS_ALLINPUT);
        Dispatch();
        if (woken == WAIT_OBJECT_0)
            return true;
    }
    return false;
}

// The copy of the program that ends abnormally (EndingProgram_win.cpp), beside
// the test program; null where it can't be started.
HANDLE StartEndingProgram(const std::wstring& arguments) {
    wchar_t own[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring line =
        L"\"" +
        (std::filesystem::path(own).parent_path() / L"lockdown_ending_program.exe").wstring() +
        L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return nullptr;
    CloseHandle(started.hThread);
    return started.hProcess;
}

// The system's part at the session's end: every top-level window of the
// process `id` is asked and then told that the session ends.
void EndSessionOf(DWORD id) {
    struct TFound {
        DWORD id;
        std::vector<HWND> windows;
    } found{id, {}};
    EnumWindows(
        [](HWND window, LPARAM into) -> BOOL {
            auto& found = *reinterpret_cast<TFound*>(into);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == found.id)
                found.windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    for (const UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION}) {
        for (HWND window : found.windows) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(window, message, message == WM_ENDSESSION, ENDSESSION_LOGOFF,
                                SMTO_NORMAL, 60000, &answer);
        }
    }
}

} // namespace

// One test for every shell window: test programs run side by side, and the
// shell's windows are the whole system's.
TEST(WindowsLockdown, EachOperationActsOnItsShellWindowAlone) {
    if (!CanMakeWindows())
        GTEST_SKIP() << "no display: Wine makes no windows";
    TScratch scratch;
    ILockdownOperations& ops = PlatformLockdown();

    // A window of the desktop view's class anywhere but in the desktop window
    // is left alone, also while there is no desktop window.
    HWND other = Make(L"KwizmarNotTheShell");
    HWND stray = Make(L"ShellDll_DefView", other);
    ASSERT_TRUE(other && stray);
    if (!FindWindowW(L"Progman", nullptr)) {
        ops.ShowDesktopIcons(false);
        ops.EnableDesktopView(false);
        EXPECT_TRUE(IsWindowVisible(stray));
        EXPECT_TRUE(IsWindowEnabled(stray));
    }

    TShell shell;
    ASSERT_TRUE(shell.progman && shell.defView && shell.tray && shell.start);
    struct Row {
        const char* name;
        void (ILockdownOperations::*operation)(bool);
        HWND TShell::*window;
        BOOL (*state)(HWND); // IsWindowVisible or IsWindowEnabled
    };
    const Row rows[] = {
        // the desktop's icons: the first child of the desktop window
        {"ShowDesktopIcons", &ILockdownOperations::ShowDesktopIcons, &TShell::defView,
         [](HWND w) { return IsWindowVisible(w); }},
        {"EnableDesktopView", &ILockdownOperations::EnableDesktopView, &TShell::defView,
         [](HWND w) { return IsWindowEnabled(w); }},
        {"ShowTaskbar", &ILockdownOperations::ShowTaskbar, &TShell::tray,
         [](HWND w) { return IsWindowVisible(w); }},
        {"EnableTaskbar", &ILockdownOperations::EnableTaskbar, &TShell::tray,
         [](HWND w) { return IsWindowEnabled(w); }},
        {"EnableStartButton", &ILockdownOperations::EnableStartButton, &TShell::start,
         [](HWND w) { return IsWindowEnabled(w); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND window = shell.*row.window;
        (ops.*row.operation)(false);
        EXPECT_FALSE(row.state(window));
        EXPECT_TRUE(IsWindowVisible(stray) && IsWindowEnabled(stray));
        (ops.*row.operation)(true);
        EXPECT_TRUE(row.state(window));
    }
    DestroyWindow(other);

    // Showing the taskbar again doesn't take the activation from the program.
    HWND program = Make(L"KwizmarProgram");
    SetActiveWindow(program);
    ops.ShowTaskbar(false);
    ops.ShowTaskbar(true);
    EXPECT_NE(GetActiveWindow(), shell.tray);
    DestroyWindow(program);
}

// Alt+Tab is taken from the task switcher as the program's hot key 202, and
// given back. (The only test that takes the system-wide key: test programs
// run side by side.)
TEST(WindowsLockdown, TheTaskSwitchLockHoldsAltTab) {
    TScratch scratch;
    ILockdownOperations& ops = PlatformLockdown();
    ops.LockTaskSwitch(true);
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_ALT, VK_TAB)); // taken
    EXPECT_TRUE(UnregisterHotKey(nullptr, 202));
    ops.LockTaskSwitch(true);
    ops.LockTaskSwitch(false);
    EXPECT_FALSE(UnregisterHotKey(nullptr, 202)); // already given back
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT, VK_TAB));
    UnregisterHotKey(nullptr, 1);
}

// A program that locked the shell and then ends abnormally gives the shell
// back on its way out, and ends as it would have: through the handlers it had
// before, or as the system ends it.
TEST(WindowsLockdown, AProgramEndingAbnormallyLeavesTheShellWhole) {
    if (!CanMakeWindows())
        GTEST_SKIP() << "no display: Wine makes no windows";
    TScratch scratch;
    TShell shell;
    ASSERT_TRUE(shell.progman && shell.defView && shell.tray && shell.start);
    // The program says when it has locked, and waits to be told to end.
    const std::wstring id = std::to_wstring(GetCurrentProcessId());
    const std::wstring lockedName = L"KwizmarLocked" + id, goOnName = L"KwizmarGoOn" + id;
    HANDLE locked = CreateEventW(nullptr, TRUE, FALSE, lockedName.c_str());
    HANDLE goOn = CreateEventW(nullptr, TRUE, FALSE, goOnName.c_str());
    ASSERT_TRUE(locked && goOn);
    constexpr DWORD kEndedBySystem = 0x40010004;
    struct TCase {
        const wchar_t* how;
        DWORD exitCode;
    } cases[] = {
        {L"null", DWORD(EXCEPTION_ACCESS_VIOLATION)},
        {L"terminate", 4}, // its own handler's
        {L"abort", 3},
        {L"session", kEndedBySystem},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::filesystem::path(c.how).string());
        ResetEvent(locked);
        ResetEvent(goOn);
        HANDLE program =
            StartEndingProgram(std::wstring(c.how) + L" " + lockedName + L" " + goOnName);
        ASSERT_TRUE(program);
        ASSERT_TRUE(WaitDispatching(locked));
        EXPECT_EQ(States(shell), kLocked);
        SetEvent(goOn);
        if (c.exitCode == kEndedBySystem) {
            EndSessionOf(GetProcessId(program));
            TerminateProcess(program, kEndedBySystem);
        }
        ASSERT_TRUE(WaitDispatching(program));
        Dispatch();
        DWORD exitCode = 0;
        GetExitCodeProcess(program, &exitCode);
        CloseHandle(program);
        EXPECT_EQ(exitCode, c.exitCode);
        EXPECT_EQ(States(shell), kWhole);
        LiftEverything(PlatformLockdown());
    }
    CloseHandle(locked);
    CloseHandle(goOn);
}

// The next start lifts a lockdown whose holder is gone, and removes its
// record; a running holder's lockdown and record stay.
TEST(WindowsLockdown, TheNextStartLiftsALockdownWhoseHolderIsGone) {
    if (!CanMakeWindows())
        GTEST_SKIP() << "no display: Wine makes no windows";
    TScratch scratch;
    TShell shell;
    ASSERT_TRUE(shell.progman && shell.defView && shell.tray && shell.start);
    HANDLE ended = StartEndingProgram(L"");
    ASSERT_TRUE(ended && WaitDispatching(ended));
    const std::string endedId = std::to_string(GetProcessId(ended));
    CloseHandle(ended);
    const TLockdownHolder self = ThisLockdownHolder();
    struct TCase {
        const char* what;
        TLockdownHolder holder;
        bool lifts;
    } cases[] = {
        {"its holder has ended", {endedId, self.start}, true},
        {"its id now runs another process", {self.process, self.start + "1"}, true},
        {"its holder runs", self, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        // The shell as a holder leaves it.
        ShowWindow(shell.defView, SW_HIDE);
        EnableWindow(shell.defView, FALSE);
        ShowWindow(shell.tray, SW_HIDE);
        EnableWindow(shell.tray, FALSE);
        EnableWindow(shell.start, FALSE);
        TLockdownRecordFile record;
        record.Write(c.holder);

        LiftLockdownLeftBehind();
        Dispatch();
        EXPECT_EQ(States(shell), c.lifts ? kWhole : kLocked);
        EXPECT_EQ(record.Read().has_value(), !c.lifts);

        LiftEverything(PlatformLockdown());
        record.Remove();
    }
}
