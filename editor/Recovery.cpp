#include "Recovery.h"

#include "AtomicFile.h"
#include "EdytorLogic.h"
#include "Paths.h"
#include "WholeFile.h"

#include <cstdlib>

namespace kwizmar {

namespace {

constexpr std::string_view kPrefix = "edytor-odzysk-";
constexpr std::string_view kDraftEnd = ".txt";
constexpr std::string_view kOwnerEnd = ".plik";

std::filesystem::path OwnerNote(std::filesystem::path draft) {
    draft.replace_extension(std::string(kOwnerEnd));
    return draft;
}

} // namespace

void KeepForRecovery(const std::filesystem::path& folder, const TEdytorLogic& logic,
                     unsigned long pid) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path draft =
        folder / (std::string(kPrefix) + std::to_string(pid) + std::string(kDraftEnd));
    const std::string& belongsTo = !logic.Path().empty() ? logic.Path() : logic.DraftPath();
    WriteFileAtomically(OwnerNote(draft), belongsTo);
    WriteFileAtomically(draft, TextSourceBytes(logic.Document()));
}

std::optional<TRecovered> FindRecovery(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = Utf8FromPath(it->path().filename());
        if (!name.starts_with(kPrefix) || !name.ends_with(kDraftEnd))
            continue;
        const std::string pid =
            name.substr(kPrefix.size(), name.size() - kPrefix.size() - kDraftEnd.size());
        char* end = nullptr;
        const unsigned long id = std::strtoul(pid.c_str(), &end, 10);
        if (pid.empty() || *end != '\0' || !ProcessIsGone(id))
            continue;
        TRecovered found{it->path(), {}};
        std::string owner;
        if (TryReadWholeFile(OwnerNote(it->path()), owner) == TWholeFileRead::Read)
            found.belongsTo = owner;
        return found;
    }
    return std::nullopt;
}

void DiscardRecovery(const TRecovered& recovered) {
    std::error_code ec;
    std::filesystem::remove(recovered.draft, ec);
    std::filesystem::remove(OwnerNote(recovered.draft), ec);
}

} // namespace kwizmar
