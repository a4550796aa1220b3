#include "AtomicFile.h"

#include "Errors.h"
#include "Paths.h"

#include <atomic>
#include <string>
#include <windows.h>

namespace kwizmar {

namespace {

std::atomic<unsigned> tempCounter{0};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x10000000u ? 0x10000000u : DWORD(bytes.size());
        DWORD done = 0;
        if (!WriteFile(file, bytes.data(), chunk, &done, nullptr))
            return false;
        bytes.remove_prefix(done);
    }
    return true;
}

} // namespace

bool ProcessIsGone(unsigned long pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER; // no process of that id
    // A process that has ended but whose handle someone still holds is gone too.
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path target = LinkTarget(path);
    std::filesystem::path temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temp = target;
        temp += L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(tempCounter++);
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (file == INVALID_HANDLE_VALUE)
        throw EFCreateError(Utf8FromPath(path));

    const bool written = WriteAll(file, bytes) && FlushFileBuffers(file);
    const bool closed = CloseHandle(file) != FALSE;
    if (!written || !closed ||
        !MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        throw EFCreateError(Utf8FromPath(path));
    }
    RemoveStaleTemporaries(target);
}

} // namespace kwizmar
