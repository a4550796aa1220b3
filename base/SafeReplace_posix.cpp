#include "SafeReplace.h"

#include "PosixIo.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kwizmar {

namespace {

// A new file no one else has opened, named by `name` (asked again while the
// name is taken); -1 on failure.
int OpenNew(const std::function<std::filesystem::path()>& name, mode_t mode,
            std::filesystem::path& made) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        made = name();
        const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || (errno != EEXIST && errno != EINTR))
            return fd;
    }
    return -1;
}

// Removes the file `path` made for nothing, keeping errno for the caller.
void Discard(const std::filesystem::path& path) {
    const int error = errno;
    ::unlink(path.c_str());
    errno = error;
}

// Makes `fd`'s file hold exactly `bytes`, on disk.
bool WriteWhole(int fd, std::string_view bytes) {
    return posix::WriteAllAt(fd, bytes, 0) && ::ftruncate(fd, off_t(bytes.size())) == 0 &&
           ::fsync(fd) == 0;
}

} // namespace

TReplaceWay ReplaceBeside(const std::filesystem::path& file, std::intptr_t handle,
                          std::string_view bytes) {
    TReplaceFacts facts;
    struct stat old {};
    if (handle >= 0) {
        facts.exists = true;
        // A file that can't be looked at can't be handed on as it was.
        facts.ownerKept = ::fstat(int(handle), &old) == 0;
    } else {
        facts.exists = ::stat(file.c_str(), &old) == 0;
    }
    if (facts.exists && facts.ownerKept)
        facts.links = old.st_nlink;
    if (const TReplaceWay way = WayToReplace(facts); way != TReplaceWay::Beside)
        return way;

    // Readable by this user alone until it has the old file's permissions.
    std::filesystem::path temp;
    const int fd = OpenNew([&] { return TemporaryName(file); }, facts.exists ? 0600 : 0666, temp);
    facts.madeBeside = fd >= 0;
    if (const TReplaceWay way = WayToReplace(facts); way != TReplaceWay::Beside)
        return way;

    if (facts.exists) {
        struct stat made {};
        facts.ownerKept =
            ::fstat(fd, &made) == 0 && ((made.st_uid == old.st_uid && made.st_gid == old.st_gid) ||
                                        ::fchown(fd, old.st_uid, old.st_gid) == 0);
        // After the owner: a change of owner clears the set-user-ID and set-group-ID bits.
        facts.modeKept = facts.ownerKept && ::fchmod(fd, old.st_mode & 07777) == 0;
        if (const TReplaceWay way = WayToReplace(facts); way != TReplaceWay::Beside) {
            ::close(fd);
            Discard(temp);
            return way;
        }
    }

    const bool written = posix::WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!written) {
        const int error = errno;
        ::close(fd);
        errno = error;
        Discard(temp);
        return TReplaceWay::Fail;
    }
    if (::close(fd) != 0) {
        Discard(temp);
        return TReplaceWay::Fail;
    }
    if (::rename(temp.c_str(), file.c_str()) != 0) {
        facts.renameRefused = errno == EACCES || errno == EPERM || errno == EBUSY;
        Discard(temp);
        const TReplaceWay way = WayToReplace(facts);
        return way == TReplaceWay::Beside ? TReplaceWay::Fail : way;
    }
    posix::SyncFolder(file.parent_path());
    return TReplaceWay::Beside;
}

bool RewriteInPlace(std::intptr_t handle, std::string_view bytes, std::string_view old,
                    const std::function<std::filesystem::path()>& backupName) {
    std::filesystem::path backup;
    const int out = OpenNew(backupName, 0600, backup);
    if (out < 0)
        return false;
    const bool kept = posix::WriteAll(out, old) && ::fsync(out) == 0;
    if (!kept) {
        const int error = errno;
        ::close(out);
        errno = error;
        Discard(backup);
        return false;
    }
    if (::close(out) != 0) {
        Discard(backup);
        return false;
    }
    posix::SyncFolder(backup.parent_path());

    const int fd = int(handle);
    if (WriteWhole(fd, bytes)) {
        ::unlink(backup.c_str());
        return true;
    }
    // Whatever failed half-way, the old bytes go back; only when even that
    // fails does their copy stay.
    const int error = errno;
    if (WriteWhole(fd, old))
        ::unlink(backup.c_str());
    errno = error;
    return false;
}

} // namespace kwizmar
