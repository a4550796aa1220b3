#pragma once

#include <string>

// The folders the system gives the program for its files. Texts are UTF-8.

namespace kwizmar {

// The user's own temporary folder, one that no other user can write into, so
// that a file the program puts there can't be swapped or planted by anyone
// else. On Windows the system's per-user temporary folder. Elsewhere
// $XDG_RUNTIME_DIR when it is such a folder; else "kwizmar-<uid>" in $TMPDIR
// (or /tmp), made with mode 0700 and checked to be this user's own real
// folder; where that name is taken by someone else, a fresh folder of this
// run, removed at exit when empty. Empty when no such folder can be had.
// Never throws.
std::string TempFolder();

// The program's own data folder where no machine-wide setting names one (the
// results log's folder where the system names none). On Windows the folder
// every user of the computer shares, %ProgramData%\Nerbaly\Kwizmar, which the
// installer makes with the right to change it for the Users group, so that
// every pupil's result reaches the one log. Elsewhere $XDG_DATA_HOME/Kwizmar
// (default ~/.local/share/Kwizmar, see XdgFolders.h). Created, with the folders
// above it, by whoever first writes into it. Empty where the system names no
// such folder (no home folder can be found).
std::string DefaultDataFolder();

// The user's own data folder, whatever folder the results log is in: where a
// result that could not reach the log waits, and where a backup copy is kept
// while a shared file is rewritten in place. $XDG_DATA_HOME/Kwizmar elsewhere,
// %APPDATA%\Nerbaly\Kwizmar on Windows. Created by whoever first writes into
// it. Empty where the system names no such folder.
std::string UserDataFolder();

// The folder of the test editor's trial runs in the user's own data folder:
// the copy of an unsaved test being tried, and the log of the trial exams,
// which never reach the class's log. Empty where UserDataFolder() is.
inline std::string TrialFolder() {
    const std::string user = UserDataFolder();
    return user.empty() ? user : user + "/proby-edytora";
}

} // namespace kwizmar
