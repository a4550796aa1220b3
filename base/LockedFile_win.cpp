#include "LockedFile.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "Paths.h"
#include "SafeReplace.h"
#include "WinIo.h"

#include <string>
#include <system_error>
#include <windows.h>

// On Windows the lock is a byte-range lock far past any real end of file, so
// that it never stands in the way of reading the data itself. The file is
// never replaced by a rename here (the rename would lose its security
// settings): a whole rewrite is always done in place after a backup copy.

namespace kwizmar {

namespace {

constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

HANDLE Handle(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

} // namespace

TLockedFile::TLockedFile(const std::filesystem::path& path, TAccess access) : path_(path) {
    const DWORD rights = access == TAccess::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const DWORD disposition = access == TAccess::Create ? OPEN_ALWAYS : OPEN_EXISTING;
    HANDLE file =
        CreateFileW(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (access != TAccess::Create &&
            (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND))
            return;
        if (access == TAccess::Read)
            throw EFOpenError(Utf8FromPath(path));
        throw EFCreateError(Utf8FromPath(path),
                            std::error_code(int(error), std::system_category()));
    }
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    LockFileEx(file, access == TAccess::Read ? 0 : LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at);
    handle_ = reinterpret_cast<std::intptr_t>(file);
}

TLockedFile::~TLockedFile() {
    Close();
}

void TLockedFile::Close() {
    if (handle_ == -1)
        return;
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    UnlockFileEx(Handle(handle_), 0, 1, 0, &at);
    CloseHandle(Handle(handle_));
    handle_ = -1;
}

void TLockedFile::ReadAll(std::string& bytes, std::size_t spare,
                          const std::function<void(std::string_view)>& read) {
    LARGE_INTEGER size{};
    if (handle_ == -1 || !GetFileSizeEx(Handle(handle_), &size))
        throw EFOpenError(Utf8FromPath(path_));
    bytes.clear();
    bytes.reserve(std::size_t(size.QuadPart) + spare);
    std::uint64_t offset = 0;
    char buffer[65536];
    for (;;) {
        OVERLAPPED at{};
        at.Offset = DWORD(offset & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(offset >> 32);
        DWORD done = 0;
        if (!ReadFile(Handle(handle_), buffer, sizeof buffer, &done, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            throw EFOpenError(Utf8FromPath(path_));
        }
        if (done == 0)
            break;
        bytes.append(buffer, done);
        offset += done;
        if (read)
            read(bytes);
    }
}

void TLockedFile::AppendAt(std::uint64_t offset, std::string_view bytes) {
    if (handle_ != -1 && win::WriteAllAt(Handle(handle_), bytes, offset) &&
        FlushFileBuffers(Handle(handle_)))
        return;
    const std::error_code cause(int(GetLastError()), std::system_category());
    if (handle_ != -1 && win::CutAt(Handle(handle_), offset))
        FlushFileBuffers(Handle(handle_));
    throw EFCreateError(Utf8FromPath(path_), cause);
}

void TLockedFile::Replace(std::string_view bytes, std::string_view old,
                          const std::filesystem::path& backupFolder) {
    struct Closer {
        TLockedFile& file;
        ~Closer() { file.Close(); }
    } closer{*this};
    if (handle_ == -1)
        throw EFCreateError(Utf8FromPath(path_));

    std::error_code ec;
    std::filesystem::create_directories(backupFolder, ec);
    if (!RewriteInPlace(handle_, bytes, old,
                        [&] { return BackupName(backupFolder, path_.filename()); }))
        throw EFCreateError(Utf8FromPath(path_));
    RemoveStaleBackups(backupFolder, path_.filename());
}

void TLockedFile::Truncate() {
    if (handle_ == -1 || !win::CutAt(Handle(handle_), 0) || !FlushFileBuffers(Handle(handle_)))
        throw EFCreateError(Utf8FromPath(path_));
}

std::uint64_t TLockedFile::ReadTail(std::string& tail, std::size_t size) {
    LARGE_INTEGER length{};
    if (handle_ == -1 || !GetFileSizeEx(Handle(handle_), &length))
        throw EFOpenError(Utf8FromPath(path_));
    std::uint64_t from =
        std::uint64_t(length.QuadPart) > size ? std::uint64_t(length.QuadPart) - size : 0;
    tail.clear();
    char piece[4096];
    for (;;) {
        const std::uint64_t offset = from + tail.size();
        OVERLAPPED at{};
        at.Offset = DWORD(offset & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(offset >> 32);
        DWORD n = 0;
        if (!ReadFile(Handle(handle_), piece, sizeof piece, &n, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            throw EFOpenError(Utf8FromPath(path_));
        }
        if (n == 0)
            break;
        tail.append(piece, n);
        if (tail.size() > size) {
            from += tail.size() - size;
            tail.erase(0, tail.size() - size);
        }
    }
    return from + tail.size();
}

std::string TLockedFile::ReadBack(std::uint64_t offset, std::size_t size) const {
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw EFOpenError(Utf8FromPath(path_));
    std::string bytes(size, '\0');
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED at{};
        at.Offset = DWORD((offset + done) & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD((offset + done) >> 32);
        DWORD n = 0;
        if (!ReadFile(file, bytes.data() + done, DWORD(size - done), &n, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            CloseHandle(file);
            throw EFOpenError(Utf8FromPath(path_));
        }
        if (n == 0)
            break;
        done += n;
    }
    CloseHandle(file);
    bytes.resize(done);
    return bytes;
}

} // namespace kwizmar
