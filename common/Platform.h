#pragma once

#include <string>

// What the program needs to know about the system it runs on, beyond files:
// where it is installed, where temporary files go, whether it is on line.
// Texts inside the program are UTF-8; these calls convert at the edge.

namespace kwizmar {

// The full path of the running program file. Empty when the system can't tell.
std::string ProgramFilePath();

// The user's temporary folder (as the system gives it; may be empty when the
// system gives none). Never throws.
std::string TempFolder();

// Whether the computer is on line. Systems without a connected-state call are
// always on line; a download that fails is then simply a failed download.
bool IsOnLine();

// The program's own data folder where no machine-wide setting names one:
// $XDG_DATA_HOME/Kwizmar (default ~/.local/share/Kwizmar). It is created by
// whoever first writes into it. Empty on Windows, where the system folders are
// always given.
std::string DefaultDataFolder();

// The user's own data folder, whatever folder the results log is in: where a
// result that could not reach the log waits, and where a backup copy is kept
// while a shared file is rewritten in place. $XDG_DATA_HOME/Kwizmar elsewhere,
// %APPDATA%\Nerbaly\Kwizmar on Windows. Created by whoever first writes into it.
std::string UserDataFolder();

} // namespace kwizmar
