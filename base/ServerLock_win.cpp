#include "ServerLockPlatform.h"

#include "AtomicFile.h"

#include <atomic>
#include <string>
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

TCreated CreateExclusive(const std::filesystem::path& path, std::string_view content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            return TCreated::Exists;
        // A lock file being removed by its holder refuses access until it is
        // gone; only a folder where nothing is there refuses for good.
        if (error == ERROR_ACCESS_DENIED &&
            GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return TCreated::Exists;
        return TCreated::Refused;
    }
    DWORD done = 0;
    const bool written = WriteFile(file, content.data(), DWORD(content.size()), &done, nullptr) &&
                         done == content.size() && FlushFileBuffers(file);
    CloseHandle(file);
    if (!written) {
        DeleteFileW(path.c_str());
        return TCreated::Refused;
    }
    return TCreated::Yes;
}

std::optional<TSeen> ReadLock(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    TSeen seen;
    seen.changed = Nanoseconds(data.ftLastWriteTime);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return seen;
    char buffer[512];
    DWORD n = 0;
    while (seen.content.size() <= 4096 && ReadFile(file, buffer, sizeof buffer, &n, nullptr) &&
           n > 0)
        seen.content.append(buffer, n);
    CloseHandle(file);
    return seen;
}

std::optional<std::int64_t> ServerNow(const std::filesystem::path& near) {
    std::filesystem::path probe = near;
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

void Remove(const std::filesystem::path& path) {
    DeleteFileW(path.c_str());
}

std::string ThisHost() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size))
        return "";
    return std::string(name, size);
}

std::string ThisProcess() {
    return std::to_string(GetCurrentProcessId());
}

std::string StartOf(const std::string& pid) {
    DWORD id = 0;
    try {
        id = DWORD(std::stoul(pid));
    } catch (...) {
        return "";
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return "";
    FILETIME created{}, exited{}, kernel{}, user{};
    const bool known = GetProcessTimes(process, &created, &exited, &kernel, &user);
    CloseHandle(process);
    return known ? std::to_string(Nanoseconds(created)) : "";
}

bool ProcessGone(const std::string& pid, const std::string& start) {
    unsigned long id = 0;
    if (pid.empty() || pid.size() > 10)
        return false;
    for (char c : pid) {
        if (c < '0' || c > '9')
            return false;
        id = id * 10 + unsigned(c - '0');
    }
    if (ProcessIsGone(id))
        return true;
    const std::string now = StartOf(pid);
    return !start.empty() && !now.empty() && now != start;
}

} // namespace kwizmar::serverlock
