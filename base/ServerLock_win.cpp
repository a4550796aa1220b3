#include "ServerLockPlatform.h"

#include "AtomicFile.h"

#include <atomic>
#include <string>
#include <vector>
#include <windows.h>

// On Windows a new file takes its permissions from the folder's inherited
// access rules, so a lab's shared folder needs nothing more here.

namespace kwizmar::serverlock {

namespace {

std::atomic<unsigned> probeCounter{0};

// FILETIME counts 100 ns from 1601; the lock rules count nanoseconds from 1970.
std::int64_t Nanoseconds(const FILETIME& time) {
    const std::uint64_t ticks = (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (std::int64_t(ticks) - 116444736000000000LL) * 100;
}

} // namespace

namespace {

// Tries `step` again for a while when the server refuses because another
// client is looking at the file; true once it is done or nothing is left.
template <class F> bool Patiently(F step, bool notEmptyPasses = false) {
    for (int attempt = 0; attempt < 400; ++attempt) {
        if (step())
            return true;
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return true;
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
            !(notEmptyPasses && error == ERROR_DIR_NOT_EMPTY))
            return false;
        Sleep(5);
    }
    return false;
}

} // namespace

namespace {

std::error_code SystemError(DWORD code) {
    return std::error_code(int(code), std::system_category());
}

} // namespace

TCreated CreateExclusive(const std::filesystem::path& lock, const std::string& holder,
                         std::string_view content, std::error_code& cause) {
    if (!CreateDirectoryW(lock.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        cause = SystemError(error);
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
            return TCreated::Exists;
        // A lock being removed refuses access until it is gone.
        if (error == ERROR_ACCESS_DENIED &&
            GetFileAttributesW(lock.c_str()) != INVALID_FILE_ATTRIBUTES)
            return TCreated::Exists;
        if (error == ERROR_ACCESS_DENIED || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_WRITE_PROTECT)
            return TCreated::Refused;
        return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? TCreated::NoRoom
                                                                           : TCreated::Failed;
    }
    const std::filesystem::path file = lock / holder;
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_PATH_NOT_FOUND)
            return TCreated::Exists; // broken meanwhile: the next try decides
        cause = SystemError(error);
        Patiently([&] { return RemoveDirectoryW(lock.c_str()) != 0; });
        // Only a folder that refuses files can't take a lock; a server that
        // stumbled may take it at the next try.
        if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT)
            return TCreated::Refused;
        return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? TCreated::NoRoom
                                                                           : TCreated::Failed;
    }
    DWORD done = 0;
    const bool written = WriteFile(handle, content.data(), DWORD(content.size()), &done, nullptr) &&
                         done == content.size() && FlushFileBuffers(handle);
    if (!written)
        cause = SystemError(GetLastError());
    CloseHandle(handle);
    if (!written) {
        RemoveLock(lock, holder);
        return cause.value() == ERROR_DISK_FULL || cause.value() == ERROR_HANDLE_DISK_FULL
                   ? TCreated::NoRoom
                   : TCreated::Failed;
    }
    return TCreated::Yes;
}

std::optional<TSeen> Look(const std::filesystem::path& lock) {
    WIN32_FILE_ATTRIBUTE_DATA folder{};
    if (!GetFileAttributesExW(lock.c_str(), GetFileExInfoStandard, &folder))
        return std::nullopt;
    TSeen seen;
    seen.changed = Nanoseconds(folder.ftLastWriteTime);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((lock / L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return seen;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            seen.holder = std::filesystem::path(name).string();
            seen.changed = Nanoseconds(found.ftLastWriteTime);
            break;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return seen;
}

bool Holds(const std::filesystem::path& lock, const std::string& holder) {
    return GetFileAttributesW((lock / holder).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveLock(const std::filesystem::path& lock, const std::string& holder) {
    if (!holder.empty() && !DeleteFileW((lock / holder).c_str())) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            !Patiently([&] { return DeleteFileW((lock / holder).c_str()) != 0; }))
            return;
    }
    Patiently([&] { return RemoveDirectoryW(lock.c_str()) != 0; }, true);
}

// The probes are opened to be deleted on closing, so that a server that
// failed at that moment leaves them only where it lost the handle too.
void RemoveOldProbes(const std::filesystem::path& lock, std::int64_t before) {
    const std::wstring prefix = lock.filename().wstring() + L".zegar-";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((lock.parent_path() / (prefix + L"*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> old;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            Nanoseconds(found.ftLastWriteTime) < before)
            old.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const std::wstring& name : old)
        DeleteFileW((lock.parent_path() / name).c_str());
}

std::optional<std::int64_t> ServerNow(const std::filesystem::path& beside) {
    std::filesystem::path probe = beside;
    probe += L".zegar-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(probeCounter++);
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    FILETIME written{};
    const bool known = GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    if (!known)
        return std::nullopt;
    return Nanoseconds(written);
}

std::string ThisHost() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size))
        return "";
    return std::string(name, size);
}

} // namespace kwizmar::serverlock
