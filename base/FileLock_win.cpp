#include "FileLock.h"

#include <windows.h>

namespace kwizmar {

TFileLock::TFileLock(const std::filesystem::path& lockFile, bool wait) {
    HANDLE file = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        file = CreateFileW(lockFile.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    handle_ = reinterpret_cast<std::intptr_t>(file);
    OVERLAPPED at{};
    held_ = LockFileEx(file,
                       wait ? LOCKFILE_EXCLUSIVE_LOCK
                            : LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                       0, 1, 0, &at) != FALSE;
}

TFileLock::~TFileLock() {
    if (handle_ != -1) {
        HANDLE file = reinterpret_cast<HANDLE>(handle_);
        if (held_) {
            OVERLAPPED at{};
            UnlockFileEx(file, 0, 1, 0, &at);
        }
        CloseHandle(file);
    }
}

} // namespace kwizmar
