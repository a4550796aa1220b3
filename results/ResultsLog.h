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

namespace kwizmar {

class TResultsLog {
public:
    static constexpr const char* kFileName = "MSStr32.dll";

    explicit TResultsLog(IRegistry& registry = PlatformRegistry());

    // The folder of the log: empty at the start, then SysDir as the last
    // Locate found it (a missing SysDir keeps the previous folder).
    const std::string& Directory() const { return directory_; }
    void SetDirectory(std::string directory) { directory_ = std::move(directory); }

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
    // "Użytkownik ... Otrzymana ocena to: <grade>." The log is loaded, the line
    // "<k>. <text>" added with k = the number of lines + 1, and saved. Returns
    // k. Another copy of the program appending at the same moment waits: the
    // whole read-modify-write holds the log's lock (MSStr32.dll.lock beside
    // it), so neither line is lost.
    // Throws what LoadIntoList and Save throw; when the save fails the list
    // keeps the new line and the file on disk is the old one.
    int AppendResultLine(const std::string& text);

    // Writes the list to Path() without locating again, replacing the file
    // atomically (the old file stays whole when anything fails). The program's
    // own data folder is created when missing; any other missing folder is a
    // failure. Throws EFCreateError ("Cannot create file %s"); the list is
    // kept. A character the code page lacks is written as "?".
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

private:
    void SaveUnlocked();

    IRegistry& registry_;
    std::string directory_;
    std::vector<std::string> lines_;
};

} // namespace kwizmar
