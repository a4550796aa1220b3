#pragma once

#include <chrono>
#include <string>
#include <vector>

// The running copies of the programs in a folder, as the installer finds and
// closes them before it replaces the programs' files. Windows only: on Linux
// the package manager replaces a running program's file without harm.

namespace kwizmar {

struct TRunningCopy {
    unsigned long pid = 0;
    std::string program; // the file's name, "kwizmar.exe"
};

// The processes of this computer whose program file lies directly in one of
// `folders` (paths compared as Windows compares them), in the order of their
// ids. A process the caller may not look into is not counted, nor are the
// calling process and those that started it (an uninstaller that runs from
// the folder it empties).
std::vector<TRunningCopy> RunningCopiesIn(const std::vector<std::string>& folders);

// Asks each copy to end the way Windows asks programs to close for an
// installation: every top-level window of the process is asked whether the
// session may end and then told that it ends ("close the application"). A
// program of this family then finishes, and an exam in progress stays in its
// journal, as at the end of a session. A window that does not answer within
// `patience` is left. Returns how many copies had a window to ask.
int AskToEnd(const std::vector<TRunningCopy>& copies, std::chrono::milliseconds patience);

// Waits at most `time` until none of the programs in `folders` runs any more;
// returns those still running then.
std::vector<TRunningCopy> WaitForTheEnd(const std::vector<std::string>& folders,
                                        std::chrono::milliseconds time);

} // namespace kwizmar
