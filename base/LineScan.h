#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

// Finding the lines of a buffer quickly: a results log of hundreds of
// megabytes, a test of a million short lines. Only the bytes CR and LF are
// looked at, so Windows-1250 and UTF-8 are walked alike; what a line holds,
// and where a text ends, is for each file format to say (ResultsLogFormat.h,
// TestFile.h).

namespace kwizmar {

// How a line ends.
enum class TLineEnd { CrLf, Cr, Lf, None };

// Calls line(offset, size, end) for each line of `bytes`: a line ends at
// CR LF, at a lone CR or at a lone LF, and a last line without an end counts
// too (end None). memchr finds the ends, so that hundreds of megabytes are
// walked at memory speed and nothing is copied.
template <class F> void ForEachLine(std::string_view bytes, F&& line) {
    auto find = [](const char* from, const char* to, char c) {
        return static_cast<const char*>(std::memchr(from, c, std::size_t(to - from)));
    };
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    for (const char* p = begin; p < end;) {
        const char* const lf = find(p, end, '\n');
        const char* const stop = lf ? lf : end;
        const char* cr;
        while ((cr = find(p, stop, '\r')) && !(lf && cr + 1 == lf)) {
            line(std::size_t(p - begin), std::size_t(cr - p), TLineEnd::Cr);
            p = cr + 1;
        }
        if (cr)
            line(std::size_t(p - begin), std::size_t(cr - p), TLineEnd::CrLf);
        else if (lf)
            line(std::size_t(p - begin), std::size_t(lf - p), TLineEnd::Lf);
        else if (p < end)
            line(std::size_t(p - begin), std::size_t(end - p), TLineEnd::None);
        p = stop + 1;
    }
}

// Texts whose lines end at CR LF alone (a lone CR or LF belongs to its line),
// with a last line that may have no line end.
//
// How many lines `text` has: one a CR LF, and a last one without it.
std::size_t CountCrLfLines(std::string_view text);

// Where each line of `text` starts, and last where a line after the last
// would start: line i is the bytes from starts[i] to two before starts[i + 1].
// An empty text gives one start, 0, and no line.
std::vector<std::size_t> CrLfLineStarts(std::string_view text);

} // namespace kwizmar
