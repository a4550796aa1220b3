#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

// Reading a file whole, as every reader of the program does (test files, the
// settings and Setup files, the results log's backups, update files, the
// sources of kwizmar-ts2). Symbolic links are followed.

namespace kwizmar {

// How reading a whole file went.
enum class TWholeFileRead {
    Read,       // the bytes are read
    Missing,    // nothing is at the path
    Folder,     // a folder is at the path
    TooLarge,   // larger than the limit asked for, or of a size the system can't tell
    CannotOpen, // it is there but can't be opened (no permission, ...)
    CannotRead, // it was opened, but reading failed part-way
};

inline constexpr std::uintmax_t kNoSizeLimit = std::numeric_limits<std::uintmax_t>::max();

// Reads the whole file at `path` into `bytes`, which is left as it was unless
// the result is Read. Never throws for what the file system does; the caller
// tells its user in its own words.
TWholeFileRead TryReadWholeFile(const std::filesystem::path& path, std::string& bytes,
                                std::uintmax_t maxBytes = kNoSizeLimit);

// Reads a whole file. Returns false when it doesn't exist; throws EFOpenError
// ("Cannot open file %s") when it exists but can't be read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

} // namespace kwizmar
