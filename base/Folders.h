#pragma once

#include <string>

// The folders the system gives the program for its files. Texts are UTF-8.

namespace kwizmar {

// The user's temporary folder (as the system gives it; may be empty when the
// system gives none). Never throws.
std::string TempFolder();

// The program's own data folder where no machine-wide setting names one:
// $XDG_DATA_HOME/Kwizmar (default ~/.local/share/Kwizmar, see XdgFolders.h).
// It is created by whoever first writes into it. Empty on Windows, where the
// system folders are always given, and where no home folder can be found.
std::string DefaultDataFolder();

// The user's own data folder, whatever folder the results log is in: where a
// result that could not reach the log waits, and where a backup copy is kept
// while a shared file is rewritten in place. $XDG_DATA_HOME/Kwizmar elsewhere,
// %APPDATA%\Nerbaly\Kwizmar on Windows. Created by whoever first writes into
// it. Empty where the system names no such folder.
std::string UserDataFolder();

} // namespace kwizmar
