#include "LockedFile.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "Paths.h"
#include "PosixIo.h"
#include "SafeReplace.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kwizmar {

namespace {

// How much of a file ReadAll reads at a time: small enough to stay in the
// processor's cache until the caller has walked it.
constexpr std::size_t kReadPiece = 256 * 1024;

std::error_code LastError() {
    return std::error_code(errno, std::generic_category());
}

[[noreturn]] void ThrowFor(TLockedFile::TAccess access, const std::filesystem::path& path) {
    if (access == TLockedFile::TAccess::Read)
        throw EFOpenError(Utf8FromPath(path));
    throw EFCreateError(Utf8FromPath(path), LastError());
}

// The file a path names at the end of its symbolic links.
std::filesystem::path RealPath(const std::filesystem::path& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::filesystem::path(real.get()) : path;
}

} // namespace

TLockedFile::TLockedFile(const std::filesystem::path& path, TAccess access) : path_(path) {
    int flags = O_CLOEXEC | O_NONBLOCK; // a FIFO in the file's place must not hang us
    flags |= access == TAccess::Read ? O_RDONLY : O_RDWR;
    for (;;) {
        // A file this copy makes is made by itself (O_EXCL), so that it can be
        // given what its folder gives the group.
        bool made = false;
        int fd = -1;
        if (access == TAccess::Create) {
            // Through the links: a link that names no file yet gets it.
            std::filesystem::path target;
            try {
                target = LinkTarget(path);
            } catch (const EFCreateError&) {
                ThrowFor(access, path);
            }
            fd = ::open(target.c_str(), flags | O_CREAT | O_EXCL, 0666);
            made = fd >= 0;
            if (fd < 0 && errno != EEXIST && errno != EINTR)
                ThrowFor(access, path);
        }
        if (fd < 0)
            fd = ::open(path.c_str(), flags);
        if (fd < 0) {
            if (errno == EINTR || (errno == ENOENT && access == TAccess::Create))
                continue; // removed between the two tries
            if (errno == ENOENT)
                return;
            ThrowFor(access, path);
        }
        if (made)
            posix::ShareWithFolder(fd, RealPath(path).parent_path());
        struct stat own {};
        if (::fstat(fd, &own) != 0 || !S_ISREG(own.st_mode)) {
            ::close(fd);
            ThrowFor(access, path);
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        // A file system without locks still gets its data: a result written
        // unlocked is better than a result lost.
        int rc;
        do
            rc = ::flock(fd, access == TAccess::Read ? LOCK_SH : LOCK_EX);
        while (rc != 0 && errno == EINTR);

        // Another copy may have replaced the file while this one waited: the
        // lock counts only on the file the path names now.
        struct stat now {};
        if (::stat(path.c_str(), &now) == 0 && now.st_dev == own.st_dev &&
            now.st_ino == own.st_ino) {
            handle_ = fd;
            return;
        }
        ::close(fd);
    }
}

TLockedFile::~TLockedFile() {
    Close();
}

void TLockedFile::Close() {
    if (handle_ != -1)
        ::close(int(handle_)); // closing releases the lock
    handle_ = -1;
}

void TLockedFile::ReadAll(std::string& bytes, std::size_t spare,
                          const std::function<void(std::string_view)>& read) {
    const int fd = int(handle_);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        throw EFOpenError(Utf8FromPath(path_));
    const auto size = std::size_t(st.st_size);
    if (bytes.capacity() < size + spare) {
        bytes = std::string(); // the old content goes first: never two in memory
        bytes.reserve(size + spare);
    }
    std::size_t done = 0;
    char more[4096];
    for (;;) {
        // Up to the size the file had, each piece lands in `bytes` directly.
        // Room the old content doesn't cover is made a piece at a time, just
        // before the piece comes in, so that only the cache sees it cleared.
        // Past that size, one more read tells whether the file grew after all.
        const bool past = done >= size;
        const std::size_t room = past ? sizeof more : std::min(kReadPiece, size - done);
        if (!past && bytes.size() < done + room)
            bytes.resize(done + room);
        char* const to = past ? more : bytes.data() + done;
        const ssize_t n = ::pread(fd, to, room, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EFOpenError(Utf8FromPath(path_));
        if (n == 0)
            break;
        if (past) {
            bytes.resize(done);
            bytes.append(more, std::size_t(n));
        }
        done += std::size_t(n);
        if (read)
            read(std::string_view(bytes.data(), done));
    }
    bytes.resize(done);
}

void TLockedFile::AppendAt(std::uint64_t offset, std::string_view bytes) {
    const int fd = int(handle_);
    if (fd >= 0 && posix::WriteAllAt(fd, bytes, offset) && ::fsync(fd) == 0)
        return;
    const std::error_code cause = fd >= 0 ? LastError() : std::error_code();
    if (fd >= 0 && ::ftruncate(fd, off_t(offset)) == 0)
        ::fsync(fd);
    throw EFCreateError(Utf8FromPath(path_), cause);
}

void TLockedFile::Replace(std::string_view bytes, std::string_view old,
                          const std::filesystem::path& backupFolder) {
    const int fd = int(handle_);
    struct Closer {
        TLockedFile& file;
        ~Closer() { file.Close(); }
    } closer{*this};
    if (fd < 0)
        throw EFCreateError(Utf8FromPath(path_), LastError());
    switch (ReplaceBeside(RealPath(path_), fd, bytes)) {
    case TReplaceWay::Beside:
        RemoveStaleBackups(backupFolder, path_.filename());
        return;
    case TReplaceWay::Fail:
        throw EFCreateError(Utf8FromPath(path_), LastError());
    case TReplaceWay::InPlace:
        break;
    }

    if (backupFolder.empty())
        throw EFCreateError(Utf8FromPath(path_), LastError());
    std::error_code ec;
    std::filesystem::create_directories(backupFolder, ec);
    if (!RewriteInPlace(fd, bytes, old, [&] { return BackupName(backupFolder, path_.filename()); }))
        throw EFCreateError(Utf8FromPath(path_), LastError());
    RemoveStaleBackups(backupFolder, path_.filename());
}

void TLockedFile::Truncate() {
    const int fd = int(handle_);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::fsync(fd) != 0)
        throw EFCreateError(Utf8FromPath(path_), LastError());
}

std::uint64_t TLockedFile::ReadTail(std::string& tail, std::size_t size) {
    const int fd = int(handle_);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        throw EFOpenError(Utf8FromPath(path_));
    std::uint64_t from = std::uint64_t(st.st_size) > size ? std::uint64_t(st.st_size) - size : 0;
    tail.clear();
    char piece[4096];
    for (;;) {
        const ssize_t n = ::pread(fd, piece, sizeof piece, off_t(from + tail.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EFOpenError(Utf8FromPath(path_));
        if (n == 0)
            break;
        tail.append(piece, std::size_t(n));
        if (tail.size() > size) {
            from += tail.size() - size;
            tail.erase(0, tail.size() - size);
        }
    }
    return from + tail.size();
}

std::string TLockedFile::ReadBack(std::uint64_t offset, std::size_t size) const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw EFOpenError(Utf8FromPath(path_));
    std::string bytes(size, '\0');
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size - done, off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            throw EFOpenError(Utf8FromPath(path_));
        }
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    ::close(fd);
    bytes.resize(done);
    return bytes;
}

} // namespace kwizmar
