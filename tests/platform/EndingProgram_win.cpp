// A copy of the program that locks the desktop and the taskbar on the
// system's lockdown and then ends abnormally, as its first argument says:
//   null       writes through a null pointer
//   terminate  calls std::terminate
//   abort      calls abort
//   session    waits for the session's end, its messages dispatched
// The second argument names an event it sets once the lockdown is applied,
// the third one it waits for before it ends. With no arguments it ends at
// once.

#include "Lockdown.h"

#include <cstdlib>
#include <exception>
#include <string>
#include <windows.h>

namespace {

// The ends there were before the lockdown's: the system's end of a crash,
// without Wine's debugger, which would wait for someone to close its window;
// and an end of std::terminate told apart by its exit code.
LONG WINAPI EndQuietly(EXCEPTION_POINTERS*) {
    return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void EndOnTerminate() {
    std::_Exit(4);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4)
        return 0;
    SetUnhandledExceptionFilter(EndQuietly);
    std::set_terminate(EndOnTerminate);

    kwizmar::ILockdownOperations& ops = kwizmar::PlatformLockdown();
    kwizmar::DesktopLockdown(ops, true);
    kwizmar::TaskbarLockdown(ops, true);
    if (HANDLE locked = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2])) {
        SetEvent(locked);
        CloseHandle(locked);
    }
    if (HANDLE goOn = OpenEventA(SYNCHRONIZE, FALSE, argv[3])) {
        WaitForSingleObject(goOn, INFINITE);
        CloseHandle(goOn);
    }

    const std::string how = argv[1];
    if (how == "null") {
        int* volatile nowhere = nullptr;
        *nowhere = 1;
    } else if (how == "terminate") {
        std::terminate();
    } else if (how == "abort") {
        std::abort();
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
