#pragma once

#include "Processes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// The few steps of the server lock that differ between systems; the rules of
// taking, judging and breaking a lock are the same everywhere (ServerLock.cpp).
//
// A lock is a folder, made by mkdir: a file server decides the making of a
// folder for every client at once, where some SMB clients make an O_EXCL file
// on their own say. In it, one file named after its holder; the name is new
// for every lock, so no client's cache can mistake one lock for the next.

namespace kwizmar::serverlock {

enum class TCreated {
    Yes,     // the folder is new and holds the holder's file
    Exists,  // another copy's lock is there
    Refused, // no lock can be made here (no permission, no folder)
    NoRoom,  // the server's disk is full
    Failed,  // the server failed to say; another try may tell
};

// Makes the folder `lock` with the file `holder` in it holding `content`,
// only if no such folder exists. `error` is the system's reason for anything
// but Yes and Exists.
TCreated CreateExclusive(const std::filesystem::path& lock, const std::string& holder,
                         std::string_view content, std::error_code& error);

// A lock as it is now: its holder's file name (empty while the holder has not
// made it yet, or when killed before it did) and the time of that file's (or
// else the folder's) making on the server's clock, in nanoseconds since 1970.
struct TSeen {
    std::string holder;
    std::int64_t changed = 0;
    bool operator==(const TSeen&) const = default;
};
// Nothing when there is no lock.
std::optional<TSeen> Look(const std::filesystem::path& lock);

// Whether the holder's file `holder` is in `lock`.
bool Holds(const std::filesystem::path& lock, const std::string& holder);

// Removes the lock: the holder's file (when given), then the folder, trying
// again for a while when the server refuses because another client is
// looking at it, or still lists the holder's file another client had open
// (SMB removes such a file only once that client closes it). Where the
// holder's file was gone already, its lock was broken and the folder, if
// any, is another's: it stays, as does a folder holding another holder's
// file once the tries are over.
void RemoveLock(const std::filesystem::path& lock, const std::string& holder);

// Removes the server-clock probes of ServerNow(lock) that were left beside
// the lock (a removal the server refused), those made before `before` on the
// server's clock.
void RemoveOldProbes(const std::filesystem::path& lock, std::int64_t before);

// The server's time now: the time it gives a new file made beside `beside` (and
// removed at once). Nothing when no such file can be made.
std::optional<std::int64_t> ServerNow(const std::filesystem::path& beside);

// The holder names its process as Processes.h tells processes apart.
std::string ThisHost();

} // namespace kwizmar::serverlock
