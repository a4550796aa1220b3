#pragma once

#include <string>

namespace kwizmar {

// The program's own file version as four decimal numbers joined by ".":
// major.minor.release.build ("1.5.0.124"). It is compiled in from the build's
// version numbers, which the Windows build also carries as its version
// resource. Never throws.
std::string ProgramFileVersion();

} // namespace kwizmar
