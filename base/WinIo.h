#pragma once

#include <cstdint>
#include <string_view>
#include <windows.h>

// Small Windows file steps shared by the program's file writers.

namespace kwizmar::win {

// Writes all of `bytes` at `offset`, or returns false.
bool WriteAllAt(HANDLE file, std::string_view bytes, std::uint64_t offset);

// Makes the file end at `size`.
bool CutAt(HANDLE file, std::uint64_t size);

} // namespace kwizmar::win
