#include "ServerLockPlatform.h"

#include "AtomicFile.h"
#include "PosixIo.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kwizmar::serverlock {

namespace {

std::atomic<unsigned> probeCounter{0};

std::int64_t Nanoseconds(const struct timespec& t) {
    return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

} // namespace

namespace {

// Tries `step` again for a while when it fails with one of `passing` (or
// EINTR); true once it is done or there is nothing left to do.
template <class F>
bool Patiently(F step, std::initializer_list<int> passing = {EBUSY}, int attempts = 400) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (step() == 0 || errno == ENOENT)
            return true;
        if (errno != EINTR && std::find(passing.begin(), passing.end(), errno) == passing.end())
            return false;
        ::usleep(5000);
    }
    return false;
}

} // namespace

TCreated CreateExclusive(const std::filesystem::path& lock, const std::string& holder,
                         std::string_view content, std::error_code& error) {
    if (::mkdir(lock.c_str(), 0777) != 0) {
        if (errno == EEXIST)
            return TCreated::Exists;
        error = std::error_code(errno, std::generic_category());
        // A folder that can't take a lock says so; a lock its holder is
        // removing at that moment makes some SMB clients fail otherwise
        // (EIO), which passes.
        if (errno == EACCES || errno == EPERM || errno == EROFS || errno == ENOENT ||
            errno == ENOTDIR)
            return TCreated::Refused;
        if (errno == ENOSPC || errno == EDQUOT)
            return TCreated::NoRoom;
        return TCreated::Failed;
    }
    // Every member of a lab's group must be able to remove it.
    if (const int dir = ::open(lock.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        posix::ShareWithFolder(dir, lock.parent_path());
        ::close(dir);
    }
    const std::filesystem::path file = lock / holder;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int cause = errno;
        // Broken meanwhile as a lock without a holder: the next try decides.
        if (cause == ENOENT)
            return TCreated::Exists;
        error = std::error_code(cause, std::generic_category());
        // A file removed while another client looks at it goes when that client
        // is done (SMB): the folder is not empty until then. Anything else in it
        // is another lock's holder that has just made it, and goes on its own.
        Patiently([&] { return ::rmdir(lock.c_str()); }, {EBUSY, ENOTEMPTY, EEXIST});
        // Only a folder that refuses files can't take a lock; a server that
        // stumbled (EIO) may take it at the next try.
        if (cause == EACCES || cause == EPERM || cause == EROFS)
            return TCreated::Refused;
        return cause == ENOSPC || cause == EDQUOT ? TCreated::NoRoom : TCreated::Failed;
    }
    posix::ShareWithFolder(fd, lock);
    const bool written = posix::WriteAll(fd, content) && ::fsync(fd) == 0;
    const int cause = errno;
    if (::close(fd) != 0 || !written) {
        error = std::error_code(written ? errno : cause, std::generic_category());
        RemoveLock(lock, holder);
        return error.value() == ENOSPC || error.value() == EDQUOT || error.value() == EFBIG
                   ? TCreated::NoRoom
                   : TCreated::Failed;
    }
    return TCreated::Yes;
}

std::optional<TSeen> Look(const std::filesystem::path& lock) {
    DIR* dir = ::opendir(lock.c_str());
    if (!dir)
        return std::nullopt;
    TSeen seen;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            seen.holder = name;
            break;
        }
    }
    ::closedir(dir);
    struct stat st {};
    const std::filesystem::path stamped = seen.holder.empty() ? lock : lock / seen.holder;
    if (::lstat(stamped.c_str(), &st) == 0)
        seen.changed = Nanoseconds(st.st_mtim);
    return seen;
}

bool Holds(const std::filesystem::path& lock, const std::string& holder) {
    struct stat st {};
    return ::lstat((lock / holder).c_str(), &st) == 0;
}

void RemoveLock(const std::filesystem::path& lock, const std::string& holder) {
    if (!holder.empty() && ::unlink((lock / holder).c_str()) != 0) {
        if (errno == ENOENT || !Patiently([&] { return ::unlink((lock / holder).c_str()); }))
            return;
    }
    // Within a second or two in the common case: a client that looked at
    // the holder's file a moment ago lets it go as soon as it is done.
    Patiently([&] { return ::rmdir(lock.c_str()); }, {EBUSY, ENOTEMPTY, EEXIST});
}

void RemoveOldProbes(const std::filesystem::path& lock, std::int64_t before) {
    const std::string prefix = lock.filename().string() + ".zegar-";
    DIR* dir = ::opendir(lock.parent_path().c_str());
    if (!dir)
        return;
    std::vector<std::string> old;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (name.starts_with(prefix) && ::lstat((lock.parent_path() / name).c_str(), &st) == 0 &&
            S_ISREG(st.st_mode) && Nanoseconds(st.st_mtim) < before)
            old.push_back(name);
    }
    ::closedir(dir);
    for (const std::string& name : old)
        ::unlink((lock.parent_path() / name).c_str());
}

std::optional<std::int64_t> ServerNow(const std::filesystem::path& beside) {
    std::filesystem::path probe = beside;
    probe += ".zegar-" + ThisProcess() + "-" + std::to_string(probeCounter++);
    const int fd =
        ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::nullopt;
    ::close(fd);
    // Asked after the file is closed, so that the time is the server's, not
    // what this computer's cache made up at the creation.
    struct stat st {};
    const bool known = ::lstat(probe.c_str(), &st) == 0;
    // A removal the server refuses for a moment is tried again; one that
    // still fails leaves the probe to the next lock taken (RemoveOldProbes).
    Patiently([&] { return ::unlink(probe.c_str()); }, {EBUSY, EIO}, 20);
    if (!known)
        return std::nullopt;
    return Nanoseconds(st.st_mtim);
}

std::string ThisHost() {
    char name[256] = "";
    if (::gethostname(name, sizeof name - 1) != 0)
        return "";
    return name;
}

} // namespace kwizmar::serverlock
