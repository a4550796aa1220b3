#include "Recovery.h"

#include "AtomicFile.h"
#include "EdytorLogic.h"
#include "Paths.h"
#include "WholeFile.h"

#include <cstdlib>
#include <exception>
#include <utility>

namespace kwizmar {

namespace {

constexpr std::string_view kPrefix = "edytor-odzysk-";
constexpr std::string_view kDraftEnd = ".txt";
constexpr std::string_view kOwnerEnd = ".plik";

std::filesystem::path OwnerNote(std::filesystem::path draft) {
    draft.replace_extension(std::string(kOwnerEnd));
    return draft;
}

std::filesystem::path DraftOf(const std::filesystem::path& folder, unsigned long pid) {
    return folder / (std::string(kPrefix) + std::to_string(pid) + std::string(kDraftEnd));
}

} // namespace

void KeepForRecovery(const std::filesystem::path& folder, const TEdytorLogic& logic,
                     unsigned long pid) {
    KeepForRecovery(folder, pid, TextSourceBytes(logic.Document()),
                    !logic.Path().empty() ? logic.Path() : logic.DraftPath());
}

void KeepForRecovery(const std::filesystem::path& folder, unsigned long pid,
                     const std::string& source, const std::string& belongsTo) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path draft = DraftOf(folder, pid);
    WriteFileAtomically(OwnerNote(draft), belongsTo);
    WriteFileAtomically(draft, source);
}

void DiscardRecovery(const std::filesystem::path& folder, unsigned long pid) {
    DiscardRecovery(TRecovered{DraftOf(folder, pid), {}});
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

TRecoveryKeeper::TRecoveryKeeper(std::filesystem::path folder, unsigned long pid)
    : folder_(std::move(folder)), pid_(pid), thread_([this] { Run(); }) {}

TRecoveryKeeper::~TRecoveryKeeper() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void TRecoveryKeeper::Keep(std::string source, std::string belongsTo) {
    {
        std::lock_guard lock(mutex_);
        waiting_.emplace(std::move(source), std::move(belongsTo));
        discard_ = false;
    }
    changed_.notify_all();
}

void TRecoveryKeeper::Discard() {
    {
        std::lock_guard lock(mutex_);
        waiting_.reset();
        discard_ = true;
    }
    changed_.notify_all();
}

void TRecoveryKeeper::Flush() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !waiting_ && !discard_ && !busy_; });
}

void TRecoveryKeeper::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || waiting_ || discard_; });
        if (!waiting_ && !discard_)
            return; // stopped with nothing left to do
        auto keep = std::exchange(waiting_, std::nullopt);
        discard_ = false;
        busy_ = true;
        lock.unlock();
        if (keep) {
            try {
                KeepForRecovery(folder_, pid_, keep->first, keep->second);
            } catch (const std::exception&) {
                // A full disk or a folder gone: the next change tries again.
            }
        } else {
            DiscardRecovery(folder_, pid_);
        }
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace kwizmar
