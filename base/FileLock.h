#pragma once

#include <cstdint>
#include <filesystem>

namespace kwizmar {

// An exclusive advisory lock on a lock file, held from construction until
// destruction; other processes taking the same lock file wait for it. The lock
// file is a separate file beside the data it guards, since the data file itself
// is replaced by rename on every save. It is created when missing and never
// removed.
//
// With `wait` false the lock is only tried: where another process holds it,
// it is not held.
//
// Taking the lock never throws: when the lock file can neither be opened nor
// created (a read-only or missing folder), the lock is simply not held and the
// caller's own file operations report the failure.
class TFileLock {
public:
    explicit TFileLock(const std::filesystem::path& lockFile, bool wait = true);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

    bool Held() const { return held_; }

private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
};

} // namespace kwizmar
