#include "Folders.h"

#include "Paths.h"

#include <filesystem>
#include <system_error>

namespace kwizmar {

std::string TempFolder() {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::temp_directory_path(ec);
    return ec ? std::string() : Utf8FromPath(p);
}

} // namespace kwizmar
