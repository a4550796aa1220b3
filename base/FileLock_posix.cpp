#include "FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kwizmar {

TFileLock::TFileLock(const std::filesystem::path& lockFile, bool wait) {
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // A lock file made by another user of a shared folder may be read-only to
    // us; flock needs no write access.
    if (fd < 0)
        fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    handle_ = fd;
    int rc;
    do
        rc = ::flock(fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    held_ = rc == 0;
}

TFileLock::~TFileLock() {
    if (handle_ >= 0)
        ::close(int(handle_)); // closing releases the lock
}

} // namespace kwizmar
