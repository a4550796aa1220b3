#include "AtomicFile.h"

#include "Errors.h"
#include "Paths.h"

#include <system_error>

namespace kwizmar {

std::filesystem::path LinkTarget(const std::filesystem::path& path) {
    // As many links as the system itself follows before it gives up (ELOOP).
    constexpr int kMaxLinks = 40;
    std::filesystem::path at = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(at, ec)))
            return at;
        const std::filesystem::path target = std::filesystem::read_symlink(at, ec);
        if (ec)
            break;
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    throw EFCreateError(Utf8FromPath(path));
}

} // namespace kwizmar
