#pragma once

#include "LogList.h"
#include "Registry.h"
#include "ResultsLogFile.h"
#include "ResultsLogFormat.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

// The results log: one text line per finished exam, for every user of the
// computer, in the file MSStr32.dll of the system folder (the machine-wide
// SysDir value), or where the system names none, of the program's own data
// folder shared by every user. Windows-1250 on disk, every line ended by
// CR LF; UTF-8 in memory.
//
// The finish of an exam appends through AppendResultLine; the statistics
// window loads the lines, deletes or clears them in memory and saves them
// back. There is one list per program, held here.
//
// This class finds the log and holds the list; the file format is
// ResultsLogFormat.h's, the list LogList.h's, and reading and changing the
// file, under the locks that let copies of the program share it,
// ResultsLogFile.h's.

namespace kwizmar {

class TResultsLog {
public:
    static constexpr const char* kFileName = TResultsLogFile::kFileName;

    explicit TResultsLog(IRegistry& registry = PlatformRegistry());

    // The folder of the log: empty at the start, then as the last Locate
    // found it.
    const std::string& Directory() const { return directory_; }

    // Directory + separator + "MSStr32.dll".
    std::string Path() const;

    // Finds the folder afresh into Directory() and returns the path: the
    // SysDir of a lab's machine-wide key (LabSettings.h) where it names one;
    // else the SysDir of the machine-wide Setup key where it names one (on
    // Windows only a folder that is there: today's Windows names none); else
    // the program's own data folder (DefaultDataFolder()). Where none of them
    // names a folder, the previous one stays. A Setup SysDir of another type
    // throws EInvalidDataType.
    std::string Locate();
    // The log of the test editor's trial runs: from now on Locate finds
    // `folder` whatever the settings name, so that no trial reaches the
    // class's log.
    void KeepIn(std::string folder) { fixed_ = std::move(folder); }

    // Locates, empties the list and reads the file into it; a missing file
    // leaves the list empty (and isn't created). A file that exists but can't
    // be read throws EFOpenError ("Cannot open file %s"); the list is then
    // empty.
    void LoadIntoList();

    // The finish of an exam. `text` is the result line without its number:
    // "Użytkownik ... Otrzymana ocena to: <grade>." The list is loaded from the
    // log; results that earlier could not be written (TPendingResults) and
    // then "<k>. <text>" are added, numbered on from the number of lines, and
    // reach the file; returns k.
    //
    // A log made only of CR LF lines gets the new lines appended in place (a
    // last line cut short by a crash is ended first, never glued to the new
    // one); any other log is rewritten whole with CR LF line ends.
    //
    // When the line can't be written (another computer holding the log all
    // the time a finish waits, no permission, a missing folder, a full disk,
    // a share that is gone, an unreadable log) the file is left as it was,
    // the result is kept among the pending results, and EResultWaits is
    // thrown, saying why and where the result waits; the list then holds
    // what was read and the new line.
    // The result's answers' `record` goes beside the log with its line
    // (TResultsLogFile::Append).
    int AppendResultLine(const std::string& text,
                         const std::optional<TAnswerRecord>& record = std::nullopt);

    // For a finish written on another thread (TResultDelivery): locates the
    // log and returns its folder. Where the log can't be located, the result
    // is kept among the pending results and EResultWaits is thrown, as by
    // AppendResultLine.
    std::string LocateForResult(const std::string& text,
                                const std::optional<TAnswerRecord>& record = std::nullopt);

    // A finish interrupted by a crash had stored its line `text`: its answers'
    // `record` waits (TPendingRecords) for the delivery to take it beside
    // the log, unless it is there already. Never throws.
    static void KeepRecord(const std::string& text, const TAnswerRecord& record) noexcept;

    // Whether the log or the results waiting for it (TPendingResults) hold
    // the result `text` (without its number): a finish interrupted by a crash
    // must not write its line twice. A log that can't be read counts as not
    // holding it.
    bool HoldsResult(const std::string& text);

    // The statistics window's save: writes the list to Path() without
    // locating again, keeping after it the lines that other copies appended
    // since the list was loaded. The program's own data folder is created when
    // missing; any other missing folder is a failure. A write-protected log is
    // not changed. Throws EFCreateError ("Cannot create file %s") with the file
    // and the list as they were, or EResultsLogChanged. A character the code
    // page lacks is written as "?".
    void Save();

    // The list: its number of lines, one line decoded (index < LineCount()),
    // or all of them, each decoded as it is read. Only the lines asked for are
    // ever decoded, so the finish and the showing of a large log stay quick.
    std::size_t LineCount() const { return list_.Count(); }
    std::string Line(std::size_t index) const { return list_.Line(index); }
    TLogLines lines() const { return TLogLines(list_); }

    // The statistics window's edits; they reach the file at its next Save.
    // Line numbers are never rewritten.
    void DeleteLine(std::size_t index) { list_.Delete(index); } // past the end: nothing
    void Clear() { list_.Clear(); }

private:
    TResultsLogFile File() const { return TResultsLogFile(directory_); }

    IRegistry& registry_;
    std::string directory_;
    std::string fixed_;
    TLogList list_;
};

} // namespace kwizmar
