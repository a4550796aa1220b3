#include "Lockdown.h"

#include "LockdownRecord.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <windows.h>

namespace kwizmar {

namespace {

constexpr int kTaskSwitchHotKey = 202;

// Shell windows are looked up on every call: Explorer may have restarted.
HWND DesktopIcons() {
    HWND progman = FindWindowA("ProgMan", nullptr);
    return progman ? GetWindow(progman, GW_CHILD) : nullptr;
}

HWND DesktopView() {
    HWND progman = FindWindowA("Progman", nullptr);
    return progman ? FindWindowExA(progman, nullptr, "ShellDll_DefView", nullptr) : nullptr;
}

HWND Taskbar() {
    return FindWindowA("Shell_TrayWnd", nullptr);
}

HWND StartButton() {
    HWND tray = Taskbar();
    return tray ? FindWindowExA(tray, nullptr, "Button", nullptr) : nullptr;
}

class TShellLockdown final : public ILockdownOperations {
public:
    void ShowDesktopIcons(bool on) override {
        if (HWND w = DesktopIcons())
            ShowWindow(w, on ? SW_SHOW : SW_HIDE);
    }
    void EnableDesktopView(bool on) override {
        if (HWND w = DesktopView())
            EnableWindow(w, on ? TRUE : FALSE);
    }
    void ShowTaskbar(bool on) override {
        if (HWND w = Taskbar())
            ShowWindow(w, on ? SW_SHOWNA : SW_HIDE);
    }
    void EnableTaskbar(bool on) override {
        if (HWND w = Taskbar())
            EnableWindow(w, on ? TRUE : FALSE);
    }
    void EnableStartButton(bool on) override {
        if (HWND w = StartButton())
            EnableWindow(w, on ? TRUE : FALSE);
    }
    // Every system this program builds for is of the NT family: Alt+Tab is
    // taken from the task switcher by claiming it as the program's own hot key.
    // The hot key belongs to the user-interface thread (no window), which is
    // the thread every lockdown call runs on. A second registration is refused
    // by the system without effect.
    void LockTaskSwitch(bool lock) override {
        if (lock)
            RegisterHotKey(nullptr, kTaskSwitchHotKey, MOD_ALT, VK_TAB);
        else
            UnregisterHotKey(nullptr, kTaskSwitchHotKey);
    }
};

TShellLockdown& Shell() {
    static TShellLockdown shell;
    return shell;
}

// Whether the shell is locked now: what the program's end has to give back.
std::atomic<bool> shellLocked{false};

// The desktop and the taskbar given back by a program that is ending. Only
// the calls on the shell's windows, which a dying process can still make:
// nothing is written, nothing allocated. The hot key dies with the process.
void LiftOnEnd() {
    if (!shellLocked.exchange(false))
        return;
    TShellLockdown& shell = Shell();
    shell.ShowDesktopIcons(true);
    shell.EnableDesktopView(true);
    shell.ShowTaskbar(true);
    shell.EnableTaskbar(true);
    shell.EnableStartButton(true);
}

// Each way a program ends abnormally gives the shell back, then lets the end
// go on as it would have: the filter, the terminate handler and the abort
// handler there were before come next.
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
std::terminate_handler previousTerminate = nullptr;
using TSignalHandler = void (*)(int);
TSignalHandler previousAbort = SIG_DFL;

LONG WINAPI LiftOnCrash(EXCEPTION_POINTERS* exception) {
    LiftOnEnd();
    return previousFilter ? previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void LiftOnTerminate() {
    LiftOnEnd();
    if (previousTerminate)
        previousTerminate();
    std::abort();
}

// abort() ends the process once its handler returns.
void LiftOnAbort(int signal) {
    LiftOnEnd();
    if (previousAbort != SIG_DFL && previousAbort != SIG_IGN && previousAbort != SIG_ERR)
        previousAbort(signal);
}

// A console program hears of the session's end here; the handlers after this
// one, and the end, come next.
BOOL WINAPI LiftOnConsoleEnd(DWORD event) {
    if (event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        LiftOnEnd();
    return FALSE;
}

// A program with windows hears of it through its top-level windows: a hidden
// one of its own, on the thread that locked (the user-interface thread, whose
// messages the program's event loop dispatches).
LRESULT CALLBACK SessionEndWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_ENDSESSION && w)
        LiftOnEnd();
    return DefWindowProcW(window, message, w, l);
}

void MakeSessionEndWindow() {
    WNDCLASSW type{};
    type.lpfnWndProc = SessionEndWindow;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"KwizmarSessionEnd";
    RegisterClassW(&type);
    CreateWindowExW(WS_EX_TOOLWINDOW, type.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                    nullptr, type.hInstance, nullptr);
}

// Told by the recorded lockdown when the shell is first locked and when it is
// whole again. The ends are watched from the first lock on.
void WatchTheEnd(bool locked) {
    static std::once_flag installed;
    std::call_once(installed, [] {
        previousFilter = SetUnhandledExceptionFilter(LiftOnCrash);
        previousTerminate = std::set_terminate(LiftOnTerminate);
        previousAbort = std::signal(SIGABRT, LiftOnAbort);
        SetConsoleCtrlHandler(LiftOnConsoleEnd, TRUE);
        MakeSessionEndWindow();
    });
    shellLocked = locked;
}

} // namespace

// The shell's windows, with the record of the lockdown kept in the user's
// data folder and its lifting at an abnormal end.
ILockdownOperations& PlatformLockdown() {
    static TLockdownRecordFile record;
    static TRecordedLockdown recorded(Shell(), record, ThisLockdownHolder(), WatchTheEnd);
    return recorded;
}

} // namespace kwizmar
