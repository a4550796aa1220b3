#pragma once

#include "LogList.h"
#include "TextMeasure.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// How the statistics window prints the results log.

namespace kwizmar {

// A page of a printout: the printed lines from its top.
using TPrintPage = std::vector<std::string>;

// The printout of a list of lines in `font`, laid out a page at a time, so
// that a long printout can show its progress and be cancelled between pages:
// from the top left of each page, one list line after another; a line wider
// than `pageWidth` goes on over the next printed lines, each broken after the
// last character that fits (a character wider than the page still gets a
// printed line of its own). A page holds pageHeight / lineHeight printed
// lines (at least one); a line continued past the bottom goes on at the top of
// the next page. An empty list prints no page. Widths are measured with
// `measure`, which must measure in the printer's units; the time a line takes
// grows in proportion to its length.
class TPrintPager {
public:
    // The list's line `index`, for index < lineCount.
    using TLineAt = std::function<std::string(std::size_t index)>;

    TPrintPager(std::size_t lineCount, TLineAt lineAt, const ITextMeasure& measure,
                const TFontSpec& font, int pageWidth, int pageHeight, int lineHeight);

    // Lays the next page out into `page`; false, with `page` empty, when the
    // printout is complete.
    bool NextPage(TPrintPage& page);

    // List lines laid out so far, out of LineCount().
    std::size_t LinesDone() const { return next_; }
    std::size_t LineCount() const { return count_; }

private:
    void WrapLine(const std::string& line);

    std::size_t count_;
    TLineAt lineAt_;
    const ITextMeasure& measure_;
    TFontSpec font_;
    int pageWidth_;
    std::size_t perPage_;
    std::size_t next_ = 0;
    // Characters on the last broken printed line: where the next one's
    // search starts.
    std::size_t guess_ = 0;
    std::deque<std::string> pending_; // printed lines not yet on a page
};

// The whole printout of `lines` at once, as TPrintPager lays it out.
std::vector<TPrintPage> PrintLayout(const std::vector<std::string>& lines,
                                    const ITextMeasure& measure, const TFontSpec& font,
                                    int pageWidth, int pageHeight, int lineHeight);
// The same for the log's list, decoding one line at a time.
std::vector<TPrintPage> PrintLayout(const TLogLines& lines, const ITextMeasure& measure,
                                    const TFontSpec& font, int pageWidth, int pageHeight,
                                    int lineHeight);

} // namespace kwizmar
