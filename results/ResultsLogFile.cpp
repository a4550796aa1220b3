#include "ResultsLogFile.h"

#include "Errors.h"
#include "Folders.h"
#include "LockedFile.h"
#include "Paths.h"
#include "PendingResults.h"
#include "ResultsLogFormat.h"
#include "SafeReplace.h"
#include "ServerLock.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

namespace kwizmar {

namespace {

// A copy that held the server's lock so long that another judged it stale
// (a share that stalled) may no longer be the only writer, and one whose
// server kept failing never knew: it writes nothing, and its result waits for
// the next one instead.
void ThrowIfLockLost(const TServerLock& lock, const std::string& path) {
    if (lock.Failed() || (lock.Held() && !lock.StillHeld()))
        throw EFCreateError(path);
}

} // namespace

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
    const TServerLock lock(PathFromUtf8(path_));
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

int TResultsLogFile::Append(TLogList& list, const std::string& text) const {
    const std::string encoded = EncodeLogLine(text);
    bool read = false;
    try {
        CreateOwnFolder();
        // The file server's lock first, for the copies on other computers,
        // then the lock on the file, for those on this one. The file is
        // opened afresh under both, so that its length is the server's.
        const TServerLock lock(PathFromUtf8(path_));
        TLockedFile file(PathFromUtf8(path_), TLockedFile::TAccess::Create);
        list.Forget();
        file.ReadAll(list.Buffer(), encoded.size() + 64);
        read = true;
        // Under the lock, so no other copy of the program is writing one now.
        RemoveStaleTemporaries(PathFromUtf8(path_));
        return AppendLocked(lock, file, list, encoded);
    } catch (const std::exception& error) {
        Refuse(list, text, error, read);
    }
}

void TResultsLogFile::Refuse(TLogList& list, const std::string& text, const std::exception& error,
                             bool read) const {
    // The list is the log as read, if it was, and the line that didn't
    // reach it.
    if (!read)
        list.Buffer() = std::string();
    list.ListBuffer(read);
    list.AddLine(std::to_string(list.Count() + 1) + ". " + text);

    const std::string kept = Utf8FromPath(TPendingResults::File());
    const std::string note =
        TPendingResults::Keep(EncodeLogLine(text))
            ? "Wynik egzaminu nie przepadł: zachowano go w pliku " + kept +
                  " i zostanie dopisany do pliku wyników razem z następnym wynikiem."
            : "Wyniku egzaminu nie udało się też zachować w pliku " + kept + ".";
    if (dynamic_cast<const EFCreateError*>(&error))
        throw EFCreateError(path_, note);
    throw EPlatformError(std::string(error.what()) + "\n\n" + note);
}

int TResultsLogFile::AppendLocked(const TServerLock& lock, TLockedFile& file, TLogList& list,
                                  const std::string& encoded) const {
    std::string& bytes = list.Buffer();
    TPendingResults pending;
    const TLogShape shape = ShapeOfLog(bytes);
    std::size_t count = shape.lines;

    std::string added;
    for (const std::string& waiting : pending.Waiting())
        if (!LogHoldsResult(bytes, waiting))
            added += std::to_string(++count) + ". " + waiting + "\r\n";
    const int k = int(++count);
    added += std::to_string(k) + ". " + encoded + "\r\n";

    ThrowIfLockLost(lock, path_);
    if (shape.crLf) {
        std::string tail(LineEndToClose(bytes));
        tail += added;
        file.AppendAt(bytes.size(), tail);
        bytes += tail;
    } else {
        std::string whole = WithCrLfLines(bytes, bytes.size() + added.size() + count);
        whole += added;
        file.Replace(whole, bytes, PathFromUtf8(UserDataFolder()));
        bytes = std::move(whole);
    }
    pending.Done();
    // The list is the log as it now is; its lines are decoded only when the
    // statistics window asks for them.
    list.ListBuffer(true);
    return k;
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

void TResultsLogFile::Save(TLogList& list) const {
    CreateOwnFolder();
    const TServerLock lock(PathFromUtf8(path_));
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
    ThrowIfLockLost(lock, path_);
    if (saved.Bytes() != current)
        file.Replace(saved.Bytes(), current, PathFromUtf8(UserDataFolder()));
    list = std::move(saved);
}

} // namespace kwizmar
