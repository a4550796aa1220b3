#include "Platform.h"

#include "Paths.h"

#include <filesystem>
#include <windows.h>
#include <wininet.h>

namespace kwizmar {

std::string ProgramFilePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return Utf8FromPath(std::filesystem::path(buffer));
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool IsOnLine() {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

} // namespace kwizmar
