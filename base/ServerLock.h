#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// A lock that the file server decides for every computer sharing a folder: a
// lock file beside the guarded file, made by exclusive creation
// ("<file>.blokada"), which only one client can win however the clients keep
// their own file locks. It names the computer, the process and the time; it is
// removed when the change is done.
//
// A lock file left by a program that was killed or a computer switched off
// stands in the way for a few seconds at most: it is broken when its process
// no longer runs on this computer, or when the server's own clock (the time
// the server gives a new file in the folder) says it is older than the bound;
// a computer whose server clock can't be read breaks a lock that stayed
// unchanged for twice the bound. Copies judging the same stale lock break it
// one at a time, under a second lock file, so that a fresh lock taken in the
// meantime is never removed.
//
// Where no lock file can be made in the folder (a read-only folder with a
// writable file in it, a folder that is gone), the lock is not held and the
// caller relies on its file lock alone.

namespace kwizmar {

class TServerLock {
public:
    // How long a lock of a process not known to be gone counts as held.
    static constexpr std::chrono::seconds kStaleAfter{10};

    // Takes the lock of `file` (the file at the end of its symbolic links),
    // waiting while another copy holds it. Never throws.
    explicit TServerLock(const std::filesystem::path& file,
                         std::chrono::milliseconds staleAfter = kStaleAfter);
    ~TServerLock();
    TServerLock(const TServerLock&) = delete;
    TServerLock& operator=(const TServerLock&) = delete;

    bool Held() const { return held_; }

    // Whether the lock file is still this one's: false when another copy
    // judged it stale and broke it. A writer asks just before it writes.
    bool StillHeld() const;

    // The lock file of `file`.
    static std::filesystem::path LockFileOf(const std::filesystem::path& file);

    // What a lock file says of its holder, one line each: the computer, the
    // process id, the process's start (empty where unknown), the time of the
    // lock on the holder's clock (for the administrator), and a number
    // telling this lock from any other.
    struct THolder {
        std::string host, pid, start, time, token;
    };
    static std::string Format(const THolder& holder);
    static THolder Parse(const std::string& content);

private:
    std::filesystem::path lockFile_;
    std::string content_;
    bool held_ = false;
};

} // namespace kwizmar
