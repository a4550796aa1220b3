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
    }, file{};
    if (::stat(folder.empty() ? "." : folder.c_str(), &dir) != 0 || ::fstat(fd, &file) != 0)
        return;
    mode_t mode = file.st_mode & 0666;
    if (dir.st_mode & S_IWGRP) {
        if (file.st_gid != dir.st_gid && ::fchown(fd, uid_t(-1), dir.st_gid) == 0)
            file.st_gid = dir.st_gid;
        // Write for the group only where the group is the folder's: another
        // group (the user's own) was never given the folder.
        if (file.st_gid == dir.st_gid)
            mode |= S_IRGRP | S_IWGRP;
    }
    mode = (mode & 0600) | (mode & dir.st_mode & 0066);
    if (mode != (file.st_mode & 0666))
        ::fchmod(fd, mode);
}

} // namespace kwizmar::posix
