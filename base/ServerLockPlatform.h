#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The few steps of the server lock that differ between systems; the rules of
// taking, judging and breaking a lock are the same everywhere (ServerLock.cpp).

namespace kwizmar::serverlock {

enum class TCreated {
    Yes,     // the file is new and holds the content
    Exists,  // another copy's file is there
    Refused, // no file can be made here (no permission, no folder, no server)
};

// Makes `path` holding `content` only if no file of that name exists; the file
// server decides, for every client at once.
TCreated CreateExclusive(const std::filesystem::path& path, std::string_view content);

// A lock file as it is now: its content (empty when it can't be read) and the
// time of its last change on the server's clock, in nanoseconds since 1970.
struct TSeen {
    std::string content;
    std::int64_t changed = 0;
};
// Nothing when the file is not there.
std::optional<TSeen> ReadLock(const std::filesystem::path& path);

// The server's time now: the time it gives a new file made beside `near` (and
// removed at once). Nothing when no such file can be made.
std::optional<std::int64_t> ServerNow(const std::filesystem::path& near);

// Removes `path`; what can't be removed stays.
void Remove(const std::filesystem::path& path);

std::string ThisHost();
std::string ThisProcess();
// When the process `pid` of this computer started, in the system's own
// units; empty where unknown.
std::string StartOf(const std::string& pid);
// Whether the process `pid` that started at `start` (empty: whenever) no
// longer runs on this computer. False when unsure.
bool ProcessGone(const std::string& pid, const std::string& start);

} // namespace kwizmar::serverlock
