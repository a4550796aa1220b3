#include "AtomicFile.h"

#include "Errors.h"
#include "Paths.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kwizmar {

namespace {

// A number of one to ten decimal digits that fits 32 bits, as process ids
// and the counter are written.
std::optional<unsigned long> Number(std::string_view digits) {
    if (digits.empty() || digits.size() > 10)
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + std::uint64_t(c - '0');
    }
    if (value > 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<unsigned long>(value);
}

// The process id in `name` when it is a temporary or backup file of
// `fileName`: fileName + `kind` + digits + "-" + digits, and nothing else.
std::optional<unsigned long> LeftBy(std::string_view name, std::string_view fileName,
                                    std::string_view kind) {
    if (!name.starts_with(fileName) || !name.substr(fileName.size()).starts_with(kind))
        return std::nullopt;
    const std::string_view rest = name.substr(fileName.size() + kind.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || !Number(rest.substr(dash + 1)))
        return std::nullopt;
    return Number(rest.substr(0, dash));
}

// Removes the files of `folder` that `fileName` + `kind` name as left by a
// process that is gone.
void RemoveLeftBehind(const std::filesystem::path& folder, const std::string& fileName,
                      std::string_view kind) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const auto owner = LeftBy(Utf8FromPath(it->path().filename()), fileName, kind);
        if (owner && ProcessIsGone(*owner)) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

} // namespace

void RemoveStaleTemporaries(const std::filesystem::path& path) {
    std::filesystem::path file;
    try {
        file = LinkTarget(path);
    } catch (const EFCreateError&) {
        return;
    }
    RemoveLeftBehind(file.parent_path(), Utf8FromPath(file.filename()), ".tmp");
}

void RemoveStaleBackups(const std::filesystem::path& folder,
                        const std::filesystem::path& fileName) {
    if (!folder.empty())
        RemoveLeftBehind(folder, Utf8FromPath(fileName), ".kopia-");
}

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
