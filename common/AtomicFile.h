#pragma once

#include <filesystem>
#include <string_view>

// Files the program writes (the results log, the settings file, the file-type
// registration) are never written in place: a crash, a full disk or a failed
// write must leave the previous file whole.

namespace kwizmar {

// Replaces the file at `path` with `bytes`: writes a temporary file in the same
// folder, flushes it to disk and renames it over `path`. The folder must exist.
// An existing file's permissions carry over to the new one.
// Throws EFCreateError ("Cannot create file %s", with `path`) on any failure;
// the old file is then untouched and the temporary file removed.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Reads a whole file. Returns false when it doesn't exist; throws EFOpenError
// ("Cannot open file %s") when it exists but can't be read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

} // namespace kwizmar
