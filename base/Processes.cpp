#include "Processes.h"

#include "AtomicFile.h"

#include <cstdint>

namespace kwizmar {

bool ProcessGone(const std::string& pid, const std::string& start) {
    if (pid.empty())
        return false;
    std::uint64_t id = 0;
    for (char c : pid) {
        if (c < '0' || c > '9' || id > 0xFFFFFFFFu)
            return false;
        id = id * 10 + unsigned(c - '0');
    }
    if (id > 0xFFFFFFFFu)
        return false;
    if (ProcessIsGone(static_cast<unsigned long>(id)))
        return true;
    // The id runs again, maybe for another program that started since.
    const std::string now = StartOf(pid);
    return !start.empty() && !now.empty() && now != start;
}

} // namespace kwizmar
