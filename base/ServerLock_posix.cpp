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
template <class F> bool Patiently(F step, std::initializer_list<int> passing = {EBUSY}) {
    for (int attempt = 0; attempt < 400; ++attempt) {
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
                         std::string_view content) {
    if (::mkdir(lock.c_str(), 0777) != 0) {
        if (errno == EEXIST)
            return TCreated::Exists;
        // A folder that can't take a lock says so; a lock its holder is
        // removing at that moment makes some SMB clients fail otherwise
        // (EIO), which passes.
        if (errno == EACCES || errno == EPERM || errno == EROFS || errno == ENOENT ||
            errno == ENOTDIR || errno == ENOSPC || errno == EDQUOT)
            return TCreated::Refused;
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
        const int error = errno;
        // Broken meanwhile as a lock without a holder: the next try decides.
        if (error == ENOENT)
            return TCreated::Exists;
        // A file removed while another client looks at it goes when that client
        // is done (SMB): the folder is not empty until then. Anything else in it
        // is another lock's holder that has just made it, and goes on its own.
        Patiently([&] { return ::rmdir(lock.c_str()); }, {EBUSY, ENOTEMPTY, EEXIST});
        // Only a folder that refuses files can't take a lock; a server that
        // stumbled (EIO) may take it at the next try.
        return error == EACCES || error == EPERM || error == EROFS || error == ENOSPC ||
                       error == EDQUOT
                   ? TCreated::Refused
                   : TCreated::Failed;
    }
    posix::ShareWithFolder(fd, lock);
    const bool written = posix::WriteAll(fd, content) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        RemoveLock(lock, holder);
        return TCreated::Failed;
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
    if (!holder.empty() && !Patiently([&] { return ::unlink((lock / holder).c_str()); }))
        return;
    Patiently([&] { return ::rmdir(lock.c_str()); });
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
    ::unlink(probe.c_str());
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
