#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// A data file that several copies of the program share (the results log, and
// the results waiting for it), changed in place under a lock held on the file
// itself. No lock file or temporary file is needed in the folder, so a file
// that is writable in a read-only folder (a log an administrator shares) can
// still be changed. Symbolic links are followed: the file a link names is the
// one read and changed, and the link stays.
//
// While one copy holds the lock for writing, other copies wait for it, readers
// included; readers share their lock. A copy that waited on a file another
// copy replaced meanwhile opens and locks the new file instead.

namespace kwizmar {

class TLockedFile {
public:
    enum class TAccess {
        Read,   // shared lock; a missing file is not opened
        Update, // exclusive lock, read and write; a missing file is not opened
        Create, // exclusive lock, read and write; a missing file is created
    };

    // Opens and locks the file `path` names; waits as long as another copy
    // holds a conflicting lock. The folder must exist for Create.
    // A file that exists but can't be opened throws EFOpenError for Read and
    // EFCreateError for Update and Create (no write permission, a read-only
    // file system, a folder in its place); so does a file Create can't make.
    // The messages name `path` as given; an EFCreateError carries the
    // system's reason where there is one, as do those of the writes below.
    TLockedFile(const std::filesystem::path& path, TAccess access);
    ~TLockedFile();
    TLockedFile(const TLockedFile&) = delete;
    TLockedFile& operator=(const TLockedFile&) = delete;

    // False when the file didn't exist (Read, Update).
    bool IsOpen() const { return handle_ != -1; }

    // The whole content, with `spare` bytes reserved beyond it for the caller
    // to add to. Throws EFOpenError.
    std::string ReadAll(std::size_t spare = 0) {
        std::string bytes;
        ReadAll(bytes, spare);
        return bytes;
    }

    // The same into `bytes`, whose memory serves again: a file read into it
    // before is read again without clearing the room first. The file comes
    // in by pieces; after each, `read` (when given) is handed all that has
    // come in so far, so that a caller who walks the bytes anyway walks each
    // piece while it is still in the processor's cache. Throws EFOpenError,
    // or what `read` throws; `bytes` then holds no content to rely on.
    void ReadAll(std::string& bytes, std::size_t spare,
                 const std::function<void(std::string_view)>& read = {});

    // The end of the file, for appending without reading it whole: its
    // size, and up to `size` bytes before the end into `tail` (what a
    // write cut short may have left unended). Past the size the system
    // gives, the file is read to its real end, as a file server may tell a
    // size it has not caught up with. Throws EFOpenError.
    std::uint64_t ReadTail(std::string& tail, std::size_t size);
    // Writes `bytes` at `offset` (the size of the file as read) and flushes
    // them to the disk. When anything fails the file is cut back to `offset`,
    // as it was, and EFCreateError thrown.
    void AppendAt(std::uint64_t offset, std::string_view bytes);

    // Replaces the whole content with `bytes`; `old` is the content as read.
    // Where the file's folder takes a new file and the file's mode, owner and
    // group can be kept and it has no other hard link, a new file is written
    // beside it and renamed over it, so that a crash leaves either file whole.
    // Otherwise the file is rewritten in place, after a copy of `old` was kept
    // in `backupFolder` (created when missing); the copy is removed once the
    // new content is on the disk, and stays there if the old content could not
    // be put back after a failure. Throws EFCreateError; the file is then as
    // it was. The object is closed afterwards either way.
    void Replace(std::string_view bytes, std::string_view old,
                 const std::filesystem::path& backupFolder);

    // Empties the file and flushes. Throws EFCreateError.
    void Truncate();

    // The `size` bytes at `offset` as the file the path names holds them
    // now, read through a handle of their own, so that what a file server
    // kept is read, not what this handle wrote. Shorter where the file ends
    // sooner. Throws EFOpenError.
    std::string ReadBack(std::uint64_t offset, std::size_t size) const;

private:
    void Close();

    std::filesystem::path path_; // as given, for the messages
    std::intptr_t handle_ = -1;
};

} // namespace kwizmar
