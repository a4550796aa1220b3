#include "AtomicFile.h"

#include "Errors.h"
#include "Paths.h"
#include "PosixIo.h"
#include "WholeFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kwizmar {

namespace {

std::atomic<unsigned> tempCounter{0};

// Makes `fd`'s file hold exactly `bytes`, on disk.
bool Overwrite(int fd, std::string_view bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && posix::WriteAll(fd, bytes) &&
           ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// A new, empty file beside `file` that no one else has opened; -1 on failure.
int CreateTemporary(const std::filesystem::path& file, std::filesystem::path& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = file;
        temp += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(tempCounter++);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the temporary file the owner, group and permissions of the file it
// replaces. False when this process may not hand it to that owner or group.
bool TakeOver(int fd, const struct stat& old) {
    struct stat made {};
    if (::fstat(fd, &made) != 0)
        return false;
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    // After the owner: a change of owner clears the set-user-ID and set-group-ID bits.
    ::fchmod(fd, old.st_mode & 07777);
    return true;
}

// The file can't be replaced without changing hands: write over it, with its
// old bytes kept in the temporary file `fd` (readable by this user alone)
// until the new ones are on disk.
bool WriteInPlace(const std::filesystem::path& file, int fd, const std::filesystem::path& temp,
                  std::string_view bytes) {
    // What can't be read back isn't written over.
    std::string old;
    const bool kept = TryReadWholeFile(file, old) == TWholeFileRead::Read &&
                      ::fchmod(fd, 0600) == 0 && posix::WriteAll(fd, old) && ::fsync(fd) == 0;
    const int target = kept ? ::open(file.c_str(), O_WRONLY | O_CLOEXEC) : -1;
    if (::close(fd) != 0 || target < 0) {
        if (target >= 0)
            ::close(target);
        ::unlink(temp.c_str());
        return false;
    }
    const bool written = Overwrite(target, bytes);
    // Whatever failed half-way, the old bytes go back; only when even that
    // fails does their copy stay.
    const bool whole = written || Overwrite(target, old);
    ::close(target);
    if (whole)
        ::unlink(temp.c_str());
    return written;
}

// The failure of the last call, for the user's message.
std::error_code LastError() {
    return {errno, std::generic_category()};
}

} // namespace

bool ProcessIsGone(unsigned long pid) {
    // Signal 0 only asks whether the process is there; EPERM means it is,
    // under another user.
    return pid > 0 && pid <= 0x7FFFFFFFul && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path file = LinkTarget(path);
    std::filesystem::path temp;
    const int fd = CreateTemporary(file, temp);
    if (fd < 0)
        throw EFCreateError(Utf8FromPath(path), LastError());

    struct stat old {};
    if (::stat(file.c_str(), &old) == 0 && !TakeOver(fd, old)) {
        if (!WriteInPlace(file, fd, temp, bytes))
            throw EFCreateError(Utf8FromPath(path), LastError());
        RemoveStaleTemporaries(file);
        return;
    }

    const bool written = posix::WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), file.c_str()) != 0) {
        const std::error_code cause = LastError();
        ::unlink(temp.c_str());
        throw EFCreateError(Utf8FromPath(path), cause);
    }
    posix::SyncFolder(file.parent_path());
    RemoveStaleTemporaries(file);
}

} // namespace kwizmar
