#pragma once

#include "Errors.h"
#include "LogList.h"

#include <exception>
#include <string>

// Reading and changing the results log file, MSStr32.dll, for its list
// (LogList.h): the statistics window's load and save, the finish of an exam
// with the results that waited for the log (TPendingResults).
//
// Every change holds the file server's lock (TServerLock, for copies on other
// computers sharing the folder) and a lock on the log file itself (for copies
// on this one), so copies of the program finishing at the same moment each get
// their line, numbered in turn. A symbolic link is followed to the file it
// names; the file keeps its mode, owner and hard links.

namespace kwizmar {

class TLockedFile;
class TServerLock;

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

    // The log in `folder`.
    explicit TResultsLogFile(std::string folder);

    const std::string& Path() const { return path_; }

    // Empties the list and reads the file into it; a missing file leaves the
    // list empty (and isn't created). A file that exists but can't be read
    // throws EFOpenError ("Cannot open file %s"); the list is then empty.
    void ReadInto(TLogList& list) const;

    // The finish of an exam (TResultsLog::AppendResultLine): adds the results
    // that waited and then the result `text` (UTF-8, without its number) to the
    // file; returns the result's number. The list is then the file as it is.
    int Append(TLogList& list, const std::string& text) const;

    // The result `text` did not reach the file, for `error`: the list is the
    // file as read (`read`, else empty) and the line that didn't reach it; the
    // result is kept among the pending results, and EFCreateError ("Cannot
    // create file %s") or EPlatformError is thrown with a note saying where it
    // waits.
    [[noreturn]] void Refuse(TLogList& list, const std::string& text,
                             const std::exception& error, bool read) const;

    // Whether the file holds the result `text` (without its number). Throws
    // EPlatformError when the file is there but can't be read.
    bool Holds(const std::string& text) const;

    // Whether the result `text` waits among the pending results.
    static bool Waits(const std::string& text);

    // The statistics window's save of the list (TResultsLog::Save).
    void Save(TLogList& list) const;

private:
    void CreateOwnFolder() const;
    int AppendLocked(const TServerLock& lock, TLockedFile& file, TLogList& list,
                     const std::string& encoded) const;

    std::string folder_;
    std::string path_;
};

} // namespace kwizmar
