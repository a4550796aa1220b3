#pragma once

#include <string>

// The one rule of finding the results log that differs between systems
// (ResultsLog_win.cpp, ResultsLog_posix.cpp).

namespace kwizmar {

// Whether the Setup key's SysDir `folder` (not empty) is where the log goes;
// where it isn't, the program's own data folder is.
bool SetupFolderServes(const std::string& folder);

} // namespace kwizmar
