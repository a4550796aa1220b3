#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

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
// A live lock is never judged stale on the server's clock alone: after a
// server that stood still for a while every lock looks old, so a lock must
// also have stayed the same for half the bound while this copy watched it.
// Copies of one process (threads) tell their own locks from one left behind.
//
// Where no lock can be made in the folder (a read-only folder with a writable
// file in it, a folder that is gone), the lock is not needed and the caller
// relies on its file lock alone. Otherwise the caller changes the file only
// while it holds the lock: a lock another copy held all the time the caller
// would wait (Busy), a server that kept failing or had no room for the lock
// (Failed), and a wait the caller stopped (Stopped) all mean no change.

namespace kwizmar {

// How long a change waits for the server's lock, and how it may be stopped.
struct TLockWait {
    // How long a change waits for the lock unless told otherwise.
    static constexpr std::chrono::seconds kPatience{30};
    // How long a lock of a process not known to be gone counts as held.
    static constexpr std::chrono::seconds kStaleAfter{10};

    std::chrono::milliseconds patience = kPatience;
    // Set by another thread to give the wait up (a program closing).
    const std::atomic<bool>* stop = nullptr;
    std::chrono::milliseconds staleAfter = kStaleAfter;
};

class TServerLock {
public:
    using TWait = TLockWait;
    static constexpr std::chrono::seconds kStaleAfter = TLockWait::kStaleAfter;

    enum class TState {
        Held,     // this copy holds the lock
        Unneeded, // no lock can be made in the folder: the file lock alone guards
        Busy,     // another copy held it all the time this one would wait
        Failed,   // the server kept failing, or had no room: Error() says why
        Stopped,  // the caller stopped the wait
    };

    // Takes the lock of `file` (the file at the end of its symbolic links),
    // waiting while another copy holds it, at most `wait.patience`. Never
    // throws.
    explicit TServerLock(const std::filesystem::path& file, TWait wait = {});
    ~TServerLock();
    TServerLock(const TServerLock&) = delete;
    TServerLock& operator=(const TServerLock&) = delete;

    TState State() const { return state_; }
    bool Held() const { return state_ == TState::Held; }
    // Whether the file may be changed now: the lock is held, or can't be
    // made in this folder at all.
    bool MayChange() const { return state_ == TState::Held || state_ == TState::Unneeded; }
    // The system's reason a lock could not be made (Failed, Unneeded), where
    // known.
    std::error_code Error() const { return error_; }

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
    TState state_ = TState::Unneeded;
    std::error_code error_;
};

} // namespace kwizmar
