#pragma once

#include "Registry.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The results log: one text line per finished exam, for every user of the
// computer, in the file MSStr32.dll of the system folder (the machine-wide
// SysDir value). Windows-1250 on disk, every line ended by CR LF; UTF-8 in
// memory.
//
// The finish of an exam appends through AppendResultLine; the statistics
// window loads the lines, deletes or clears them in memory and saves them
// back. There is one list per program, held here.
//
// Every change holds a lock on the log file itself, so copies of the program
// finishing at the same moment each get their line, numbered in turn. A
// symbolic link is followed to the file it names; the file keeps its mode,
// owner and hard links.

namespace kwizmar {

class TLockedFile;

// The statistics window's save found the log rewritten by another copy of the
// program since the list was loaded (its start is no longer what was loaded).
// Nothing was saved; the list now holds the log as it is.
class EResultsLogChanged : public EPlatformError {
public:
    explicit EResultsLogChanged(const std::string& path);
};

class TResultsLog {
public:
    static constexpr const char* kFileName = "MSStr32.dll";

    explicit TResultsLog(IRegistry& registry = PlatformRegistry());

    // The folder of the log: empty at the start, then SysDir as the last
    // Locate found it (a missing SysDir keeps the previous folder).
    const std::string& Directory() const { return directory_; }

    // Directory + separator + "MSStr32.dll".
    std::string Path() const;

    // Reads SysDir afresh from the machine-wide Setup key into Directory() and
    // returns the path. A SysDir of another type throws EInvalidDataType.
    std::string Locate();

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
    // When the line can't be written (no permission, a missing folder, a full
    // disk, a share that is gone, an unreadable log) the file is left as it
    // was, the result is kept among the pending results, and EFCreateError
    // ("Cannot create file %s") is thrown with a note saying where the result
    // waits; the list then holds what was read and the new line.
    int AppendResultLine(const std::string& text);

    // The statistics window's save: writes the list to Path() without
    // locating again, keeping after it the lines that other copies appended
    // since the list was loaded. The program's own data folder is created when
    // missing; any other missing folder is a failure. A write-protected log is
    // not changed. Throws EFCreateError ("Cannot create file %s") with the file
    // and the list as they were, or EResultsLogChanged. A character the code
    // page lacks is written as "?".
    void Save();

    // The statistics window's edits; they reach the file at its next Save.
    // Line numbers are never rewritten.
    const std::vector<std::string>& lines() const { return lines_; }
    void DeleteLine(std::size_t index); // an index past the end does nothing
    void Clear();

    // The file format, for a buffer in memory: a line ends at CR LF, a lone CR
    // or a lone LF; a NUL byte ends the text; the last line needs no line end.
    static std::vector<std::string> ParseLog(std::string_view bytes);
    static std::string FormatLog(const std::vector<std::string>& lines);
    // The lines of ParseLog, still in the file's encoding.
    static std::vector<std::string_view> SplitLines(std::string_view bytes);
    // What ends the last line of `bytes` when it has no line end (a write cut
    // short): "\r\n", or "\n" after a lone CR; empty otherwise.
    static std::string_view LineEndToClose(std::string_view bytes);

private:
    void CreateOwnFolder() const;
    void Remember(std::string_view bytes);
    bool AppendedSince(std::string_view bytes, std::vector<std::string>& added) const;
    int AppendLocked(TLockedFile& file, const std::string& encoded, std::string& bytes);

    IRegistry& registry_;
    std::string directory_;
    std::vector<std::string> lines_;

    // The file as the list was last read from or written to it, so that a
    // save can tell lines appended since from a log rewritten meanwhile.
    bool remembered_ = false;
    std::size_t rememberedSize_ = 0;
    std::size_t rememberedDigest_ = 0;
    char rememberedLastByte_ = 0;
};

} // namespace kwizmar
