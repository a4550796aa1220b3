#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

// How the program replaces a whole file, for both of its writers
// (WriteFileAtomically and TLockedFile::Replace), and the names of the files
// it makes meanwhile.
//
// A file is replaced by a new file written beside it, flushed and renamed over
// it, so that a crash leaves one file or the other whole, only where everyone
// who uses the file still finds it as it was: the folder takes the new file,
// the new file gets the old one's owner, group and permissions, the old one
// has no second hard link (the user's other name for it would keep the old
// bytes) and the rename is allowed. Otherwise the file is written over in
// place, after its old content was kept in a backup copy; a file that isn't
// there yet is made beside and renamed into place, or not at all.

namespace kwizmar {

// What a writer found out so far about the file it replaces. Each field
// starts as if nothing stood in the way; the writer sets what it finds as it
// goes and asks WayToReplace again.
struct TReplaceFacts {
    bool exists = false;        // there is a file to replace
    unsigned long links = 1;    // its hard links
    bool madeBeside = true;     // a new file could be made beside it
    bool ownerKept = true;      // the new file has, or was given, its owner and group
    bool modeKept = true;       // ... and its permissions
    bool renameRefused = false; // the rename over it was refused (permissions, a mount point)
};

enum class TReplaceWay {
    Beside,  // a new file beside it, renamed over it
    InPlace, // written over in place after a backup copy
    Fail,    // neither: no file is there to write in place
};

// The way the rule above gives for `facts`.
TReplaceWay WayToReplace(const TReplaceFacts& facts);

// Replaces the file `file` (the end of its symbolic links, which need not
// exist) with `bytes` by a new file beside it, where WayToReplace allows.
// `handle` is the file already open (a descriptor on POSIX), or -1 to look at
// it by its name. Returns Beside when done and on the disk; InPlace where the
// rule wants the file written in place, and Fail when writing failed; in both
// cases nothing was changed and no file is left beside it, and on POSIX errno
// tells why it failed. On Windows, where the file's security settings go with
// it anyway, the owner, links and permissions aren't looked at.
TReplaceWay ReplaceBeside(const std::filesystem::path& file, std::intptr_t handle,
                          std::string_view bytes);

// Writes `bytes` over the whole open file `handle` (open for writing), cut to
// their length and flushed to the disk, after keeping its content as read,
// `old`, in a new file named by `backupName` (asked again while the name is
// taken; readable by this user alone) and flushed too. The backup copy is
// removed once the new bytes are on the disk, or once `old` was put back after
// a failure; it stays only where even that failed. False on failure (errno
// tells why on POSIX).
bool RewriteInPlace(std::intptr_t handle, std::string_view bytes, std::string_view old,
                    const std::function<std::filesystem::path()>& backupName);

// The temporary files made beside a file (the new content of ReplaceBeside,
// the backup copy of WriteFileAtomically) are named
// "<file name>.tmp<process id>-<n>", the backup copies of TLockedFile::Replace
// "<file name>.kopia-<process id>-<n>" in the folder it is given; n counts up
// in each process. These give the next name for `file`, and for `fileName` in
// `folder`.
std::filesystem::path TemporaryName(const std::filesystem::path& file);
std::filesystem::path BackupName(const std::filesystem::path& folder,
                                 const std::filesystem::path& fileName);

// The process id a file named `name` was made by, where it is a temporary
// file (or a backup copy) of the file named `fileName` as named above;
// nothing for any other name.
std::optional<unsigned long> TemporaryMadeBy(const std::filesystem::path& name,
                                             const std::filesystem::path& fileName);
std::optional<unsigned long> BackupMadeBy(const std::filesystem::path& name,
                                          const std::filesystem::path& fileName);

// A program killed in the middle of a write leaves its temporary file behind,
// as large as the file. This removes those of the file `path` (after its
// symbolic links) whose process no longer runs on this computer; a program
// still writing keeps its own. WriteFileAtomically calls it after each
// successful write, the results log at each save; their callers hold the
// file's lock meanwhile, so that a copy of the program on another computer
// sharing the folder isn't writing one at that moment. Never throws: what
// can't be removed stays for the next time.
void RemoveStaleTemporaries(const std::filesystem::path& path);

// The same for the backup copies of the file named `fileName` in `folder`.
// TLockedFile::Replace calls it once the new content is on the disk, still
// holding the file's lock. Never throws.
void RemoveStaleBackups(const std::filesystem::path& folder, const std::filesystem::path& fileName);

} // namespace kwizmar
