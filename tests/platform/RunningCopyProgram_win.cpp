// A running copy of a program, for the installer's closing of them:
//   RunningCopyProgram EVENT [how]
// sets the named EVENT once it runs, then, by `how`:
//   (none)     keeps a window and ends when the session ends for it
//   refuses    keeps a window that says no to the session's end and runs on
//   windowless has no window and runs until it is ended from outside

#include <string>
#include <windows.h>

namespace {

bool refuses = false;

LRESULT CALLBACK CopyWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_QUERYENDSESSION)
        return refuses ? FALSE : TRUE;
    if (message == WM_ENDSESSION && w && !refuses)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, w, l);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2)
        return 2;
    const std::string how = argc > 2 ? argv[2] : "";
    refuses = how == "refuses";
    if (how != "windowless") {
        WNDCLASSW type{};
        type.lpfnWndProc = CopyWindow;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"KwizmarRunningCopy";
        RegisterClassW(&type);
        CreateWindowExW(0, type.lpszClassName, L"Kopia", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                        nullptr, nullptr, type.hInstance, nullptr);
    }
    if (HANDLE running = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1])) {
        SetEvent(running);
        CloseHandle(running);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
