#include "Processes.h"

#include "AtomicFile.h"

#include <cstdint>
#include <string>
#include <windows.h>

namespace kwizmar {

namespace {

// FILETIME counts 100 ns from 1601; the start is kept as nanoseconds from 1970.
std::int64_t Nanoseconds(const FILETIME& time) {
    const std::uint64_t ticks = (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (std::int64_t(ticks) - 116444736000000000LL) * 100;
}

} // namespace

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

} // namespace kwizmar
