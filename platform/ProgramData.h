#pragma once

#include "Platform.h"

#include <string>

namespace kwizmar {

// The folder that holds the program's data, the sample tests (Testy/) and the
// help page (help/): beside the program file when Testy/ or help/ is there (a
// build folder, a copy carried on a stick), else the installed data folder
// found from the program's own folder (<prefix>/bin → <prefix>/share/kwizmar)
// when it exists, else beside the program all the same. UTF-8, no separator at
// the end.
std::string ProgramDataFolder(const std::string& programFile = ProgramFilePath());

} // namespace kwizmar
