#include "ResultsLogFile.h"

#include "AnswerRecordsFile.h"
#include "Errors.h"
#include "Folders.h"
#include "LockedFile.h"
#include "Paths.h"
#include "PendingResults.h"
#include "ResultsLogFormat.h"
#include "SafeReplace.h"
#include "ServerLock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <system_error>
#include <utility>

namespace kwizmar {

namespace {

// How long the statistics window's load waits for a change in progress on
// another computer before it reads the log as it stands.
constexpr std::chrono::seconds kReadPatience{3};
// How long its save waits: the teacher is at the window.
constexpr std::chrono::seconds kSavePatience{10};

// The server's lock was not had: nothing was written.
class ELogNotLocked : public EPlatformError {
public:
    explicit ELogNotLocked(const TServerLock& lock)
        : EPlatformError("lock"), state(lock.State()), cause(lock.Error()) {}
    TServerLock::TState state;
    std::error_code cause;
};

// The lines were written, but could not be read back as written, or the
// lock was lost meanwhile (another copy judged it stale): another copy may
// write over them.
class ENotConfirmed : public EPlatformError {
public:
    ENotConfirmed() : EPlatformError("unconfirmed") {}
};

void ThrowUnlessChangeable(const TServerLock& lock) {
    if (!lock.MayChange())
        throw ELogNotLocked(lock);
}

bool Either(const std::error_code& cause, std::initializer_list<std::errc> conditions) {
    for (std::errc condition : conditions)
        if (cause == condition)
            return true;
    return false;
}

// The first line of what the pupil is told: why the result is not in the log.
std::string WhyNotWritten(const std::exception& error, const std::string& path) {
    std::error_code cause;
    if (const auto* notLocked = dynamic_cast<const ELogNotLocked*>(&error)) {
        if (notLocked->state == TServerLock::TState::Busy)
            return "Plik wyników " + path +
                   " jest zajęty przez inny komputer dłużej, niż program może czekać.";
        if (notLocked->state == TServerLock::TState::Stopped)
            return "Program został zamknięty, zanim zapisał wynik w pliku wyników " + path + ".";
        cause = notLocked->cause;
    } else if (dynamic_cast<const ENotConfirmed*>(&error)) {
        return "Serwer z plikiem wyników " + path + " nie potwierdził zapisu wyniku.";
    } else if (const auto* notCreated = dynamic_cast<const EFCreateError*>(&error)) {
        cause = notCreated->Cause();
    } else if (dynamic_cast<const EFOpenError*>(&error)) {
        return "Nie można odczytać pliku wyników " + path + ".";
    } else if (!dynamic_cast<const EPlatformError*>(&error)) {
        return "Nie można zapisać wyniku w pliku wyników " + path + ".";
    } else {
        return error.what();
    }
    using std::errc;
    bool overQuota = false;
#ifdef EDQUOT
    overQuota = cause.category() == std::generic_category() && cause.value() == EDQUOT;
#endif
    if (overQuota || Either(cause, {errc::no_space_on_device, errc::file_too_large}))
        return "Na dysku z plikiem wyników " + path + " zabrakło miejsca.";
    // Windows answers "access denied" also where a folder stands in the
    // log's place, which no permission would help.
    std::error_code folder;
    if (!std::filesystem::is_directory(PathFromUtf8(path), folder) &&
        Either(cause, {errc::permission_denied, errc::operation_not_permitted,
                       errc::read_only_file_system}))
        return "Brak uprawnień do zapisu w pliku wyników " + path + ".";
    if (Either(cause, {errc::no_such_file_or_directory, errc::not_a_directory}))
        return "Folder pliku wyników " + path +
               " nie istnieje albo udział sieciowy nie jest podłączony.";
    bool lost = false;
#if defined(ESTALE) && defined(EHOSTDOWN) && defined(EREMOTEIO) && defined(ECOMM)
    lost = cause.category() == std::generic_category() &&
           (cause.value() == ESTALE || cause.value() == EHOSTDOWN || cause.value() == EREMOTEIO ||
            cause.value() == ECOMM);
#endif
    if (lost ||
        Either(cause, {errc::io_error, errc::timed_out, errc::not_connected, errc::connection_reset,
                       errc::connection_aborted, errc::connection_refused, errc::host_unreachable,
                       errc::network_down, errc::network_unreachable, errc::network_reset,
                       errc::no_link, errc::resource_unavailable_try_again}))
        return "Serwer z plikiem wyników " + path + " nie odpowiada.";
    return "Nie można zapisać wyniku w pliku wyników " + path + ".";
}

} // namespace

EResultWaits::EResultWaits(const std::string& message, bool kept)
    : EPlatformError(message), kept_(kept) {}

EResultsLogChanged::EResultsLogChanged(const std::string& path)
    : EPlatformError("Nie zapisano zmian: plik wyników " + path +
                     " został w międzyczasie zmieniony przez inną kopię programu. Lista "
                     "została wczytana na nowo; wprowadź zmiany jeszcze raz.") {}

TResultsLogFile::TResultsLogFile(std::string folder)
    : folder_(std::move(folder)), path_(folder_ + kPathSeparator + kFileName) {}

// The program's own data folder is made with the folders above it
// (%ProgramData%\Nerbaly\Kwizmar on Windows) where the installer hasn't made it.
void TResultsLogFile::CreateOwnFolder() const {
    if (!folder_.empty() && folder_ == DefaultDataFolder()) {
        std::error_code ec;
        std::filesystem::create_directories(PathFromUtf8(folder_), ec);
    }
}

void TResultsLogFile::ReadInto(TLogList& list) const {
    // The list stays empty unless the log is read.
    list.Forget();
    // A change in progress ends first where it ends soon; a log another
    // computer holds for long is read as it stands.
    const TServerLock lock(PathFromUtf8(path_), {.patience = kReadPatience});
    TLockedFile file(PathFromUtf8(path_), TLockedFile::TAccess::Read);
    if (!file.IsOpen()) {
        list.Take({});
        return;
    }
    // The window shows the list at once: its lines are found while the file
    // comes in, into the memory of the log read before.
    auto add = [&list](std::size_t offset, std::size_t size, TLineEnd) {
        list.AddReadLine(offset, size);
    };
    TLogPieceWalker walker;
    std::string& bytes = list.Buffer();
    try {
        file.ReadAll(bytes, 0, [&](std::string_view sofar) { walker.Walk(sofar, false, add); });
    } catch (...) {
        list.Forget();
        throw;
    }
    walker.Walk(bytes, true, add);
    list.LinesRead();
}

int TResultsLogFile::Append(TLogList& list, const std::string& text, TServerLock::TWait wait,
                            const std::optional<TAnswerRecord>& record) const {
    const std::string encoded = EncodeLogLine(text);
    bool read = false;
    try {
        CreateOwnFolder();
        // The file server's lock first, for the copies on other computers,
        // then the lock on the file, for those on this one. The file is
        // opened afresh under both, so that its length is the server's.
        const TServerLock lock(PathFromUtf8(path_), wait);
        if (!lock.MayChange()) {
            // Nothing is written; the list still shows the log as it stands.
            list.Forget();
            try {
                TLockedFile file(PathFromUtf8(path_), TLockedFile::TAccess::Read);
                if (file.IsOpen())
                    file.ReadAll(list.Buffer(), encoded.size() + 64);
                read = true;
            } catch (const EPlatformError&) {
            }
            throw ELogNotLocked(lock);
        }
        TLockedFile file(PathFromUtf8(path_), TLockedFile::TAccess::Create);
        list.Forget();
        file.ReadAll(list.Buffer(), encoded.size() + 64);
        read = true;
        // Under the lock, so no other copy of the program is writing one now.
        RemoveStaleTemporaries(PathFromUtf8(path_));
        return AppendLocked(lock, file, list, text, record);
    } catch (const std::exception& error) {
        Refuse(list, text, error, read, record);
    }
}

void TResultsLogFile::Refuse(TLogList& list, const std::string& text, const std::exception& error,
                             bool read, const std::optional<TAnswerRecord>& record) const {
    // The list is the log as read, if it was, and the line that didn't
    // reach it.
    if (!read)
        list.Buffer() = std::string();
    list.ListBuffer(read);
    if (!read || !LogHoldsResult(list.Buffer(), EncodeLogLine(text)))
        list.AddLine(std::to_string(list.Count() + 1) + ". " + text);

    const std::string kept = Utf8FromPath(TPendingResults::File());
    // The record first: one that waits without its line is dropped when its
    // line is found nowhere, a line never waits without its record.
    if (record)
        TPendingRecords::Keep(WaitingRecord(*record, text));
    const bool safe = TPendingResults::Keep(EncodeLogLine(text));
    throw EResultWaits(
        WhyNotWritten(error, path_) + "\n\n" +
            (safe ? "Wynik egzaminu nie przepadł: jest zachowany na tym komputerze "
                    "w pliku " +
                        kept +
                        " i zostanie dopisany do pliku wyników sam, gdy tylko "
                        "będzie to możliwe."
                  : "Wyniku egzaminu nie udało się też zachować w pliku " + kept + "."),
        safe);
}

int TResultsLogFile::AppendLocked(const TServerLock& lock, TLockedFile& file, TLogList& list,
                                  const std::string& text,
                                  const std::optional<TAnswerRecord>& record) const {
    const std::string encoded = text.empty() ? std::string() : EncodeLogLine(text);
    std::string& bytes = list.Buffer();
    TPendingResults pending;
    const TLogShape shape = ShapeOfLog(bytes);
    std::size_t count = shape.lines;

    std::string added;
    for (const std::string& waiting : pending.Waiting())
        if (!LogHoldsResult(bytes, waiting))
            added += std::to_string(++count) + ". " + waiting + "\r\n";
    if (!encoded.empty())
        added += std::to_string(++count) + ". " + encoded + "\r\n";
    const int last = int(count);
    if (added.empty()) {
        pending.Done();
        list.ListBuffer(true);
        AddRecords(lock, bytes, pending.Read(), 0, {}, std::nullopt);
        return last;
    }

    ThrowUnlessChangeable(lock);
    if (lock.Held() && !lock.StillHeld())
        throw ENotConfirmed();
    std::uint64_t at = 0;
    std::string written;
    if (shape.crLf) {
        std::string tail(LineEndToClose(bytes));
        tail += added;
        at = bytes.size();
        file.AppendAt(at, tail);
        bytes += tail;
        written = std::move(tail);
    } else {
        std::string whole = WithCrLfLines(bytes, bytes.size() + added.size() + count);
        whole += added;
        file.Replace(whole, bytes, PathFromUtf8(UserDataFolder()));
        bytes = std::move(whole);
        written = bytes;
    }
    // Kept only once the server gives the lines back as written, and no other
    // copy took the lock meanwhile and may have written over them; else they
    // wait, and go in once (the log's lines are never taken twice).
    if (file.ReadBack(at, written.size()) != written || (lock.Held() && !lock.StillHeld()))
        throw ENotConfirmed();
    pending.Done();
    // The list is the log as it now is; its lines are decoded only when the
    // statistics window asks for them.
    list.ListBuffer(true);
    AddRecords(lock, bytes, pending.Read(), last, text, record);
    return last;
}

void TResultsLogFile::AddRecords(const TServerLock& lock, std::string_view bytes, bool resultsRead,
                                 int number, const std::string& text,
                                 const std::optional<TAnswerRecord>& record) const {
    // As they wait: named by the whole line.
    std::vector<TAnswerRecord> fresh, waited, waitOn, left;
    if (record) {
        fresh.push_back(RecordOfLine(*record, number, text));
        waitOn.push_back(WaitingRecord(*record, text));
    }
    TPendingRecords pending;
    for (const TAnswerRecord& waiting : pending.Waiting()) {
        if (const int k = LogLineNumberOf(bytes, EncodeLogLine(waiting.lineStart))) {
            waited.push_back(RecordOfLine(waiting, k, waiting.lineStart));
            waitOn.push_back(waiting);
        } else if (!resultsRead) {
            // Its line may wait among results that could not be read.
            left.push_back(waiting);
        }
        // Else its line is gone from the log (the statistics window deleted
        // it meanwhile), and the record with it.
    }
    try {
        TAnswerRecordsFile(folder_).Append(lock, fresh, waited);
    } catch (...) {
        left.insert(left.end(), waitOn.begin(), waitOn.end());
    }
    pending.Done(left);
}

std::size_t TResultsLogFile::DeliverWaiting(TServerLock::TWait wait) const {
    if (WaitingCount() == 0 && TPendingRecords::Count() == 0)
        return 0;
    CreateOwnFolder();
    const TServerLock lock(PathFromUtf8(path_), wait);
    ThrowUnlessChangeable(lock);
    TLockedFile file(PathFromUtf8(path_), TLockedFile::TAccess::Create);
    TLogList list;
    file.ReadAll(list.Buffer(), 0);
    const std::size_t before = ShapeOfLog(list.Buffer()).lines;
    RemoveStaleTemporaries(PathFromUtf8(path_));
    return std::size_t(AppendLocked(lock, file, list, {})) - before;
}

std::string TResultsLogFile::PreviousPath() const {
    return path_ + kPreviousSuffix;
}

// Beside the log, with the log's group rights, under the log's locks; where
// the shared folder takes no new file (a read-only folder with a writable
// log), in the user's own data folder. A save that can keep no copy saves
// nothing: no result goes without one.
void TResultsLogFile::KeepPrevious(const std::string& bytes) const {
    const std::string ownCopy =
        Utf8FromPath(PathFromUtf8(UserDataFolder()) / (std::string(kFileName) + kPreviousSuffix));
    std::error_code ec;
    std::filesystem::create_directories(PathFromUtf8(UserDataFolder()), ec);
    for (const std::string& copy : {PreviousPath(), ownCopy}) {
        RemoveStaleTemporaries(PathFromUtf8(copy));
        try {
            TLockedFile previous(PathFromUtf8(copy), TLockedFile::TAccess::Create);
            const std::string old = previous.ReadAll();
            previous.Replace(bytes, old, PathFromUtf8(UserDataFolder()));
            return;
        } catch (const EPlatformError&) {
        }
    }
    throw EFCreateError(PreviousPath());
}

bool TResultsLogFile::Holds(const std::string& text) const {
    TLockedFile file(PathFromUtf8(path_), TLockedFile::TAccess::Read);
    return file.IsOpen() && LogHoldsResult(file.ReadAll(), EncodeLogLine(text));
}

bool TResultsLogFile::Waits(const std::string& text) {
    const std::string encoded = EncodeLogLine(text);
    const TPendingResults pending;
    const auto& waiting = pending.Waiting();
    return std::find(waiting.begin(), waiting.end(), encoded) != waiting.end();
}

std::size_t TResultsLogFile::WaitingCount() {
    return TPendingResults::Count();
}

void TResultsLogFile::Save(TLogList& list) const {
    CreateOwnFolder();
    const TServerLock lock(PathFromUtf8(path_), {.patience = kSavePatience});
    // A server that fails is a file that can't be written; a lock another
    // computer keeps is a reason to try again in a moment.
    if (lock.State() == TServerLock::TState::Failed)
        throw EFCreateError(path_, lock.Error());
    if (!lock.MayChange())
        throw EPlatformError(WhyNotWritten(ELogNotLocked(lock), path_) +
                             "\n\nZmiany nie zostały zapisane; spróbuj zapisać je za chwilę.");
    TLockedFile file(PathFromUtf8(path_), TLockedFile::TAccess::Create);
    std::string current = file.ReadAll();
    std::size_t since = current.size();
    if (list.Known() && !AppendedTo(list.Bytes(), current, since)) {
        list.Take(std::move(current));
        throw EResultsLogChanged(path_);
    }

    // The lines read from the file go out as they were read: decoding and
    // encoding them again would give the same bytes.
    TLogList saved = list.Saved(std::string_view(current).substr(since));

    RemoveStaleTemporaries(PathFromUtf8(path_));
    if (lock.Held() && !lock.StillHeld())
        throw EFCreateError(path_);
    if (saved.Bytes() != current) {
        KeepPrevious(current);
        file.Replace(saved.Bytes(), current, PathFromUtf8(UserDataFolder()));
        // The records of the lines that went, with them.
        TAnswerRecordsFile(folder_).KeepInStep(saved.Bytes());
    }
    list = std::move(saved);
}

} // namespace kwizmar
