#pragma once

#include "Registry.h"

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

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
// Every change holds the file server's lock (TServerLock, for copies on other
// computers sharing the folder) and a lock on the log file itself (for copies
// on this one), so copies of the program finishing at the same moment each get
// their line, numbered in turn. A
// symbolic link is followed to the file it names; the file keeps its mode,
// owner and hard links.

namespace kwizmar {

class TLockedFile;
class TServerLock;
class TResultsLog;

// The list of the results log as UTF-8 lines, each decoded from the log's
// bytes only when it is read, so that a log of a million lines costs nothing
// until someone looks at it. A view: valid while its log lives, and showing
// the list as it is at each read.
class TLogLines {
public:
    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string;

        const_iterator() = default;
        const_iterator(const TLogLines& lines, std::size_t index) : lines_(&lines), index_(index) {}
        std::string operator*() const { return (*lines_)[index_]; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const TLogLines* lines_ = nullptr;
        std::size_t index_ = 0;
    };
    using iterator = const_iterator;
    using value_type = std::string;
    using size_type = std::size_t;

    explicit TLogLines(const TResultsLog& log) : log_(log) {}

    std::size_t size() const;
    bool empty() const { return size() == 0; }
    std::string operator[](std::size_t index) const; // index < size()
    std::string back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {*this, 0}; }
    const_iterator end() const { return {*this, size()}; }

    // Every line decoded at once.
    operator std::vector<std::string>() const;
    friend bool operator==(const TLogLines& lines, const std::vector<std::string>& other);

private:
    const TResultsLog& log_;
};

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
    std::size_t LineCount() const;
    std::string Line(std::size_t index) const;
    TLogLines lines() const { return TLogLines(*this); }

    // The statistics window's edits; they reach the file at its next Save.
    // Line numbers are never rewritten.
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
    // Where a line of the list is: `size` bytes at `offset` in the bytes
    // read, or, with `size` kNotRead, the line `offset` of extra_.
    struct TRow {
        std::size_t offset, size;
    };
    static constexpr std::size_t kNotRead = std::size_t(-1);

    void CreateOwnFolder() const;
    void ListAllLines(bool remembered);
    void Take(std::string bytes);
    const std::vector<TRow>& Rows() const;
    std::string_view RowBytes(const TRow& row) const;
    bool AppendedSince(std::string_view bytes, std::size_t& since) const;
    int AppendLocked(const TServerLock& lock, TLockedFile& file, const std::string& encoded);

    IRegistry& registry_;
    std::string directory_;

    // The file as the list was last read from or written to it, in its own
    // encoding. The lines are decoded from it when asked for, and a save
    // tells by it lines appended since from a log rewritten meanwhile.
    // remembered_ is false when the file could not be read.
    std::string bytes_;
    bool remembered_ = false;

    // The list. Until it is first needed the list is every line of bytes_,
    // and rows_ is made only then (allRows_): the finish never walks the
    // lines. Lines that are not in bytes_ (a result the log refused) are
    // kept in extra_.
    mutable std::vector<TRow> rows_;
    mutable bool allRows_ = true;
    std::vector<std::string> extra_;
};

} // namespace kwizmar
