#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

// Small POSIX file steps shared by the program's file writers.

namespace kwizmar::posix {

// Writes all of `bytes` at `offset`, or returns false (errno tells why).
bool WriteAllAt(int fd, std::string_view bytes, std::uint64_t offset);

// Writes all of `bytes` at the file position, or returns false.
bool WriteAll(int fd, std::string_view bytes);

// Flushes a folder, so that a rename or a new name in it reaches the disk. A
// failure loses nothing that was written, so it is not reported.
void SyncFolder(const std::filesystem::path& folder);

// Gives a file (or folder) this program has just made in `folder` what the folder gives
// its group: where the folder is writable for its group (a lab's shared
// folder, usually setgid), the folder's group and read and write for it, so
// that every member can change the file after the first. The bits for the
// group and the others are never wider than the folder's own. A failure
// (a file system without owners) is not reported: the file stays as made.
void ShareWithFolder(int fd, const std::filesystem::path& folder);

} // namespace kwizmar::posix
