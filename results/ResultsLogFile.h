#pragma once

#include "AnswerRecord.h"
#include "Errors.h"
#include "LogList.h"
#include "ServerLock.h"

#include <cstddef>
#include <exception>
#include <optional>
#include <string>

// Reading and changing the results log file, MSStr32.dll, for its list
// (LogList.h): the statistics window's load and save, the finish of an exam
// with the results that waited for the log (TPendingResults).
//
// Every change holds the file server's lock (TServerLock, for copies on other
// computers sharing the folder) and a lock on the log file itself (for copies
// on this one), so copies of the program finishing at the same moment each get
// their line, numbered in turn. Nothing is written without the server's lock
// (but in a folder that can't take one at all, where the file lock guards
// alone). A result counts as in the log only once it has been read back from
// the file, under the lock, after it was written. A symbolic link is followed
// to the file it names; the file keeps its mode, owner and hard links.

namespace kwizmar {

class TLockedFile;

// A finish whose result did not reach the log. what() says why, in Polish
// (another computer holding the log, a server that doesn't answer, no room,
// no permission), and that the result waits on this computer and goes in by
// itself, or that it could not be kept there either (Kept() false).
class EResultWaits : public EPlatformError {
public:
    EResultWaits(const std::string& message, bool kept);
    bool Kept() const { return kept_; }

private:
    bool kept_;
};

// The statistics window's save found the log rewritten by another copy of the
// program since the list was loaded (its start is no longer what was loaded).
// Nothing was saved; the list now holds the log as it is.
class EResultsLogChanged : public EPlatformError {
public:
    explicit EResultsLogChanged(const std::string& path);
};

class TResultsLogFile {
public:
    static constexpr const char* kFileName = "MSStr32.dll";
    // The log as it was before the last save of the statistics window that
    // changed it: "MSStr32.dll.poprzedni" beside it.
    static constexpr const char* kPreviousSuffix = ".poprzedni";

    // The log in `folder`.
    explicit TResultsLogFile(std::string folder);

    const std::string& Path() const { return path_; }

    // Empties the list and reads the file into it; a missing file leaves the
    // list empty (and isn't created). A file that exists but can't be read
    // throws EFOpenError ("Cannot open file %s"); the list is then empty.
    void ReadInto(TLogList& list) const;

    // The finish of an exam (TResultsLog::AppendResultLine): adds the results
    // that waited and then the result `text` (UTF-8, without its number) to the
    // file, waiting for the server's lock as `wait` says; returns the
    // result's number. The list is then the file as it is. Where the result
    // did not get in, Refuse(). The result's answers' `record` (its line's
    // number not yet known) goes beside the log after the line
    // (TAnswerRecordsFile), with the records that waited; where it can't, it
    // waits (TPendingRecords) and the result still counts as in the log.
    int Append(TLogList& list, const std::string& text, TServerLock::TWait wait = {},
               const std::optional<TAnswerRecord>& record = std::nullopt) const;

    // The result `text` did not reach the file, for `error`: the list is the
    // file as read (`read`, else empty) and the line that didn't reach it; the
    // result is kept among the pending results, its record (where given)
    // among the pending records, and EResultWaits is thrown.
    [[noreturn]] void Refuse(TLogList& list, const std::string& text, const std::exception& error,
                             bool read,
                             const std::optional<TAnswerRecord>& record = std::nullopt) const;

    // Takes the results waiting on this computer into the file, as a finish
    // would take them along, and the records that wait for lines the log
    // holds; returns how many results went in (0 where none waited).
    // Throws EPlatformError where they could not; they wait on then.
    std::size_t DeliverWaiting(TServerLock::TWait wait = {}) const;

    // Whether the file holds the result `text` (without its number). Throws
    // EPlatformError when the file is there but can't be read.
    bool Holds(const std::string& text) const;

    // Whether the result `text` waits among the pending results.
    static bool Waits(const std::string& text);
    // How many results wait on this computer.
    static std::size_t WaitingCount();

    // The statistics window's save of the list (TResultsLog::Save). The log
    // as it was is kept first (PreviousPath(), or where the shared folder
    // takes no new file, in the user's data folder); without that copy
    // nothing is saved.
    void Save(TLogList& list) const;
    std::string PreviousPath() const;

private:
    void CreateOwnFolder() const;
    void KeepPrevious(const std::string& bytes) const;
    // Under both locks: adds the waiting results and then `text` (none where
    // empty), reads them back and empties the waiting results; then the
    // records. Returns the number of the last line added.
    int AppendLocked(const TServerLock& lock, TLockedFile& file, TLogList& list,
                     const std::string& text,
                     const std::optional<TAnswerRecord>& record = std::nullopt) const;
    // The records of the line `number` (`text`, where `record` is given) and
    // those that waited for lines the log `bytes` now holds, beside the log;
    // those that don't get in wait. Never throws.
    void AddRecords(const TServerLock& lock, std::string_view bytes, bool resultsRead, int number,
                    const std::string& text, const std::optional<TAnswerRecord>& record) const;

    std::string folder_;
    std::string path_;
};

} // namespace kwizmar
