#pragma once

#include "LineScan.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// The results log's file format, for bytes in memory. Windows-1250, one result
// a line, "<k>. <text>", each line ended by CR LF as the program writes it.
// Read leniently: a line ends at CR LF, a lone CR or a lone LF; a NUL byte
// ends the text; the last line needs no line end.

namespace kwizmar {

// Calls line(offset, size, end) for each line of `bytes` as the log format
// reads it (ForEachLine up to the first NUL). Returns false when a NUL cut
// the text short.
template <class F> bool ForEachLogLine(std::string_view bytes, F&& line) {
    const void* const nul = bytes.empty() ? nullptr : std::memchr(bytes.data(), '\0', bytes.size());
    if (nul)
        bytes = bytes.substr(0, std::size_t(static_cast<const char*>(nul) - bytes.data()));
    ForEachLine(bytes, line);
    return !nul;
}

// Walks the lines of a log that comes in by pieces, each piece as it comes,
// with the same lines ForEachLogLine finds in the whole. A line goes out once
// its LF is in; the last line, once the whole is in.
class TLogPieceWalker {
public:
    template <class F> void Walk(std::string_view sofar, bool whole, F&& line) {
        if (cut_)
            return;
        std::size_t end = sofar.size();
        if (!whole) {
            const std::size_t lf = sofar.rfind('\n');
            if (lf == std::string_view::npos || lf < from_)
                return;
            end = lf + 1;
        }
        const std::size_t from = from_;
        cut_ = !ForEachLogLine(sofar.substr(from, end - from),
                               [&](std::size_t offset, std::size_t size, TLineEnd ending) {
                                   line(from + offset, size, ending);
                               });
        from_ = end;
    }

private:
    std::size_t from_ = 0; // where the lines not yet walked begin
    bool cut_ = false;     // a NUL ended the text
};

// The lines of `bytes`, decoded to UTF-8.
std::vector<std::string> ParseLog(std::string_view bytes);
// The lines encoded, each followed by CR LF.
std::string FormatLog(const std::vector<std::string>& lines);
// The lines of ParseLog, still in the file's encoding.
std::vector<std::string_view> SplitLogLines(std::string_view bytes);

// A line in the log's encoding. A result must reach the log even when a name
// holds a letter the code page lacks: such a letter is written as "?", as
// the system would.
std::string EncodeLogLine(const std::string& utf8);

// What ends the last line of `bytes` when it has no line end (a write cut
// short): "\r\n", or "\n" after a lone CR; empty otherwise.
std::string_view LineEndToClose(std::string_view bytes);

// What the finish needs to know of a log: how many lines it has, and whether
// it is what this program writes: CR LF lines and nothing else, but for a last
// line that a crash cut short. Only such a log is appended to in place; any
// other is rewritten whole (WithCrLfLines).
struct TLogShape {
    std::size_t lines = 0;
    bool crLf = true;
};
TLogShape ShapeOfLog(std::string_view bytes);

// The lines of `bytes`, each followed by CR LF, in a string with room for
// `capacity` bytes.
std::string WithCrLfLines(std::string_view bytes, std::size_t capacity);

// Whether the log `bytes` holds the numbered line of `text` (both encoded,
// the text without its number).
bool LogHoldsResult(std::string_view bytes, std::string_view text);
// The number of the first line of `bytes` that is "<k>. <text>" exactly
// (both encoded); 0 where there is none.
int LogLineNumberOf(std::string_view bytes, std::string_view text);

// Whether `now`, a log as it is, is `before` (the log as it was last read or
// written) with lines appended by another copy of the program; those lines
// start at `since`. A last line of `before` without its line end may have
// been ended by the appending copy.
bool AppendedTo(std::string_view before, std::string_view now, std::size_t& since);

} // namespace kwizmar
