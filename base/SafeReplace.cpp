#include "SafeReplace.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "Paths.h"
#include "Processes.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <system_error>

namespace kwizmar {

namespace {

constexpr std::string_view kTemporary = ".tmp";
constexpr std::string_view kBackup = ".kopia-";

std::atomic<unsigned> nameCounter{0};

// "<kind><process id>-<n>", the next of this process.
std::string Suffix(std::string_view kind) {
    return std::string(kind) + ThisProcess() + "-" + std::to_string(nameCounter++);
}

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

// The process id in `name` when it is fileName + `kind` + digits + "-" +
// digits, and nothing else.
std::optional<unsigned long> MadeBy(const std::filesystem::path& name,
                                    const std::filesystem::path& fileName, std::string_view kind) {
    const std::string whole = Utf8FromPath(name);
    const std::string file = Utf8FromPath(fileName);
    const std::string_view text = whole;
    if (!text.starts_with(file) || !text.substr(file.size()).starts_with(kind))
        return std::nullopt;
    const std::string_view rest = text.substr(file.size() + kind.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || !Number(rest.substr(dash + 1)))
        return std::nullopt;
    return Number(rest.substr(0, dash));
}

// Removes the files of `folder` that `madeBy` tells were made for `fileName`
// by a process that is gone.
void RemoveLeftBehind(const std::filesystem::path& folder, const std::filesystem::path& fileName,
                      std::optional<unsigned long> (*madeBy)(const std::filesystem::path&,
                                                             const std::filesystem::path&)) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const auto owner = madeBy(it->path().filename(), fileName);
        if (owner && ProcessIsGone(*owner)) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

} // namespace

TReplaceWay WayToReplace(const TReplaceFacts& facts) {
    const bool keepsEverything =
        !facts.exists || (facts.links == 1 && facts.ownerKept && facts.modeKept);
    if (facts.madeBeside && !facts.renameRefused && keepsEverything)
        return TReplaceWay::Beside;
    return facts.exists ? TReplaceWay::InPlace : TReplaceWay::Fail;
}

std::filesystem::path TemporaryName(const std::filesystem::path& file) {
    std::filesystem::path name = file;
    name += PathFromUtf8(Suffix(kTemporary));
    return name;
}

std::filesystem::path BackupName(const std::filesystem::path& folder,
                                 const std::filesystem::path& fileName) {
    std::filesystem::path name = folder / fileName;
    name += PathFromUtf8(Suffix(kBackup));
    return name;
}

std::optional<unsigned long> TemporaryMadeBy(const std::filesystem::path& name,
                                             const std::filesystem::path& fileName) {
    return MadeBy(name, fileName, kTemporary);
}

std::optional<unsigned long> BackupMadeBy(const std::filesystem::path& name,
                                          const std::filesystem::path& fileName) {
    return MadeBy(name, fileName, kBackup);
}

void RemoveStaleTemporaries(const std::filesystem::path& path) {
    std::filesystem::path file;
    try {
        file = LinkTarget(path);
    } catch (const EFCreateError&) {
        return;
    }
    RemoveLeftBehind(file.parent_path(), file.filename(), TemporaryMadeBy);
}

void RemoveStaleBackups(const std::filesystem::path& folder,
                        const std::filesystem::path& fileName) {
    if (!folder.empty())
        RemoveLeftBehind(folder, fileName, BackupMadeBy);
}

} // namespace kwizmar
