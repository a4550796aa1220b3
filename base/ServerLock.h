#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// A lock that the file server decides for every computer sharing a folder,
// however the clients keep their own file locks: a folder beside the guarded
// file ("<file>.blokada"), made by mkdir, which only one client can win, with
// one file in it named after its holder (the computer, the process and its
// start, and a number telling this lock from any other) and telling, for the
// administrator, the computer, the process and the time. It is removed when
// the change is done.
//
// A lock left by a program that was killed or a computer switched off stands
// in the way for a few seconds at most: it is broken when its process no
// longer runs on this computer, or when the server's own clock (the time the
// server gives a new file in the folder) says it is older than the bound; a
// computer whose server clock can't be read breaks a lock that stayed the
// same for twice the bound. Copies judging the same stale lock break it one
// at a time, under a second lock, and each looks again under it, so that a
// fresh lock taken in the meantime is not removed.
//
// Where no lock can be made in the folder (a read-only folder with a writable
// file in it, a folder that is gone), the lock is not held and the caller
// relies on its file lock alone. Where the server keeps failing to answer
// (an SMB client's I/O errors), the lock is not held either and Failed() says
// so: the caller must then not change the file at all.

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
    // The server failed for seconds on end: neither held nor known not to be
    // needed.
    bool Failed() const { return failed_; }

    // Whether the lock file is still this one's: false when another copy
    // judged it stale and broke it. A writer asks just before it writes.
    bool StillHeld() const;

    // The lock of `file`.
    static std::filesystem::path LockFileOf(const std::filesystem::path& file);

    // A holder, as the name of its file in the lock tells it: the computer,
    // the process id, the process's start (empty where unknown) and a number
    // telling this lock from any other, joined by "_".
    struct THolder {
        std::string host, pid, start, token;
    };
    static std::string Name(const THolder& holder);
    static THolder Parse(const std::string& name);

private:
    std::filesystem::path lock_;
    std::string holder_, content_;
    bool held_ = false;
    bool failed_ = false;
};

} // namespace kwizmar
