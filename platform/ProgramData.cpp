#include "ProgramData.h"

#include "Paths.h"

#include <filesystem>

namespace kwizmar {

std::string ProgramDataFolder(const std::string& programFile) {
    const std::filesystem::path beside = PathFromUtf8(programFile).parent_path();
    std::error_code ec;
    if (std::filesystem::is_directory(beside / "Testy", ec) ||
        std::filesystem::is_directory(beside / "help", ec))
        return Utf8FromPath(beside);
    const std::filesystem::path installed =
        (beside / PathFromUtf8(KWIZMAR_DATA_FROM_BIN)).lexically_normal();
    return Utf8FromPath(std::filesystem::is_directory(installed, ec) ? installed : beside);
}

} // namespace kwizmar
