#pragma once

#include <filesystem>
#include <string>

// Paths as the program keeps them: UTF-8 text inside the program, converted to
// the system's paths at the edge.

namespace kwizmar {

// The separator the program puts between a folder and a file name when it
// builds a path as text ("\" on Windows, "/" elsewhere).
inline constexpr char kPathSeparator =
    static_cast<char>(std::filesystem::path::preferred_separator);

// UTF-8 text <-> filesystem path, lossless on every system.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

} // namespace kwizmar
