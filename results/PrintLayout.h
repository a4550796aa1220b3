#pragma once

#include "ResultsLog.h"
#include "TextMeasure.h"

#include <string>
#include <vector>

// How the statistics window prints the results log.

namespace kwizmar {

// A page of a printout: the printed lines from its top.
using TPrintPage = std::vector<std::string>;

// The printout of `lines` in `font`: from the top left of each page, one list
// line after another; a line wider than `pageWidth` goes on over the next
// printed lines, each broken after the last character that fits (a character
// wider than the page still gets a printed line of its own). A page holds
// pageHeight / lineHeight printed lines (at least one); a line continued past
// the bottom goes on at the top of the next page. An empty list prints no
// page. Widths are measured with `measure`, which must measure in the
// printer's units.
std::vector<TPrintPage> PrintLayout(const std::vector<std::string>& lines,
                                    const ITextMeasure& measure, const TFontSpec& font,
                                    int pageWidth, int pageHeight, int lineHeight);
// The same for the log's list, decoding one line at a time.
std::vector<TPrintPage> PrintLayout(const TLogLines& lines, const ITextMeasure& measure,
                                    const TFontSpec& font, int pageWidth, int pageHeight,
                                    int lineHeight);

} // namespace kwizmar
