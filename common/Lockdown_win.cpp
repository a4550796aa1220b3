#include "Lockdown.h"

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

} // namespace

ILockdownOperations& PlatformLockdown() {
    static TShellLockdown shell;
    return shell;
}

} // namespace kwizmar
