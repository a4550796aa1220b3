#include "AtomicFile.h"

#include "Errors.h"
#include "Platform.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace kwizmar {

bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(status))
        throw EFOpenError(Utf8FromPath(path));
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad())
        throw EFOpenError(Utf8FromPath(path));
    return true;
}

} // namespace kwizmar
