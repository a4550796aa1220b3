#include "PosixIo.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kwizmar::posix {

bool WriteAllAt(int fd, std::string_view bytes, std::uint64_t offset) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
        offset += std::uint64_t(n);
    }
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void ShareWithFolder(int fd, const std::filesystem::path& folder) {
    struct stat dir {
    }, own{};
    if (::stat(folder.empty() ? "." : folder.c_str(), &dir) != 0 || ::fstat(fd, &own) != 0)
        return;
    // A folder of its own (a lock) keeps its search bits; a file has none.
    const mode_t bits = S_ISDIR(own.st_mode) ? 0777 : 0666;
    mode_t mode = own.st_mode & bits;
    if (dir.st_mode & S_IWGRP) {
        if (own.st_gid != dir.st_gid && ::fchown(fd, uid_t(-1), dir.st_gid) == 0)
            own.st_gid = dir.st_gid;
        // Write for the group only where the group is the folder's: another
        // group (the user's own) was never given the folder.
        if (own.st_gid == dir.st_gid)
            mode |= S_IRGRP | S_IWGRP | (bits & S_IXGRP);
    }
    mode = (mode & 0700) | (mode & dir.st_mode & 0077);
    if (mode != (own.st_mode & bits))
        ::fchmod(fd, mode | (own.st_mode & S_ISGID));
}

} // namespace kwizmar::posix
