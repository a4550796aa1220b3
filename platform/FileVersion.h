#pragma once

#include <string>

namespace kwizmar {

// The program's own file version as four decimal numbers joined by ".":
// major.minor.release.build ("1.5.0.124"). On Windows it is read from the
// version resource of the program file (FileVersionOf); elsewhere, and where
// the program file carries none, it is the build's version numbers compiled
// in, the same ones the Windows build puts into that resource. Never throws.
std::string ProgramFileVersion();

// The file version in the version resource of `file` (UTF-8 path), written as
// above. Empty where the file carries no version resource or can't be read,
// and on systems without version resources. Never throws.
std::string FileVersionOf(const std::string& file);

} // namespace kwizmar
