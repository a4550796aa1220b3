#include "CommandLineOutput.h"

#include <string>

#include <windows.h>

namespace kwizmar {

namespace {

std::wstring Utf16(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), size);
    return wide;
}

bool Usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The console of the command line that started this program of windows,
// taken once, or none (started from the desktop, or by a program without one).
HANDLE ParentConsole() {
    static const HANDLE console = [] {
        // Refused where the program has a console already (Wine gives a
        // program of windows its parent's): that one serves.
        if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
            return INVALID_HANDLE_VALUE;
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    }();
    return console;
}

} // namespace

bool PrintOnCommandLine(std::string_view utf8, TCommandLineStream stream) {
    HANDLE out =
        GetStdHandle(stream == TCommandLineStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (!Usable(out))
        out = ParentConsole();
    if (!Usable(out))
        return false;
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring wide = Utf16(utf8);
        for (size_t done = 0; done < wide.size();) {
            DWORD written = 0;
            const DWORD piece = DWORD(std::min<size_t>(wide.size() - done, 16384));
            if (!WriteConsoleW(out, wide.data() + done, piece, &written, nullptr) || written == 0)
                return false;
            done += written;
        }
        return true;
    }
    for (size_t done = 0; done < utf8.size();) {
        DWORD written = 0;
        if (!WriteFile(out, utf8.data() + done, DWORD(utf8.size() - done), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace kwizmar
