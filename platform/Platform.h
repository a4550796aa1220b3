#pragma once

#include <string>

// What the program needs to know about the system it runs on, beyond files and
// folders (Folders.h): where it is installed and whether it is on line. Texts
// inside the program are UTF-8; these calls convert at the edge.

namespace kwizmar {

// The full path of the running program file. Empty when the system can't tell.
std::string ProgramFilePath();

// Whether the computer is on line. Systems without a connected-state call are
// always on line; a download that fails is then simply a failed download.
bool IsOnLine();

} // namespace kwizmar
