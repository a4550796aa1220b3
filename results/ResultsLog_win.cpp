#include "ResultsLogPlatform.h"

#include "Paths.h"

#include <filesystem>
#include <system_error>

namespace kwizmar {

// The Setup key is the system's own. Only the old Windows family named its
// system folder there: today's Windows (and Wine) has no SysDir, and one left
// from an old installation may name a folder that is gone. Only a folder that
// is there is taken.
bool SetupFolderServes(const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(PathFromUtf8(folder), ec);
}

} // namespace kwizmar
