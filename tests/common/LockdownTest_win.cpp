#include "Lockdown.h"

#include <gtest/gtest.h>
#include <vector>
#include <windows.h>

// The lockdown over the shell's windows, found by their class names. Wine's
// own taskbar is the one a pupil would meet; the windows Wine's shell doesn't
// have (the desktop window, the Start button) the test makes itself, of the
// same classes. Windows need a display: the suite runs on Xvfb.

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

} // namespace

// One test for every shell window: test programs run side by side, and the
// shell's windows are the whole system's.
TEST(WindowsLockdown, EachOperationActsOnItsShellWindowAlone) {
    if (!CanMakeWindows())
        GTEST_SKIP() << "no display: Wine makes no windows";
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
