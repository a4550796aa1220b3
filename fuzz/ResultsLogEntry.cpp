// The results log's reader and writer, and the printout of its lines.
#include "FuzzEntries.h"

#include "Cp1250.h"
#include "PrintLayout.h"
#include "ResultLine.h"
#include "ResultsLogFormat.h"

#include <cstdint>

namespace kwizmar::fuzz {

namespace {

// Characters of unlike widths, so that lines break at many places: 1 to 9
// units each, by code point.
class TUnevenMeasure final : public ITextMeasure {
public:
    int TextWidth(std::string_view utf8, const TFontSpec&) const override {
        int width = 0;
        std::size_t pos = 0;
        char32_t cp;
        while (pos < utf8.size()) {
            if (!NextCodePoint(utf8, pos, cp)) {
                cp = static_cast<unsigned char>(utf8[pos]);
                ++pos;
            }
            width += static_cast<int>(cp % 9) + 1;
        }
        return width;
    }
};

void CheckPrintout(const std::vector<std::string>& lines, int pageWidth, int pageHeight,
                   int lineHeight) {
    const TUnevenMeasure measure;
    const TFontSpec font{"Courier New", 10, false};
    const auto pages = PrintLayout(lines, measure, font, pageWidth, pageHeight, lineHeight);
    const std::size_t perPage = static_cast<std::size_t>(
        lineHeight > 0 && pageHeight / lineHeight > 1 ? pageHeight / lineHeight : 1);
    std::string listed, printed;
    for (const std::string& line : lines)
        listed += line;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        Require(!pages[p].empty() && pages[p].size() <= perPage, "a page holds what fits on it");
        Require(p + 1 == pages.size() || pages[p].size() == perPage,
                "only the last page is left part empty");
        for (const std::string& piece : pages[p]) {
            Require(measure.TextWidth(piece, font) <= pageWidth || CodePointCount(piece) == 1,
                    "a printed line fits the page, unless it is one character");
            printed += piece;
        }
    }
    Require(printed == listed, "the printout is the lines, in order, nothing lost");
    Require(lines.empty() == pages.empty(), "an empty list prints no page");
}

} // namespace

void ResultsLogEntry(std::string_view bytes) {
    const std::vector<std::string> lines = ParseLog(bytes);
    const std::vector<std::string_view> raw = SplitLogLines(bytes);
    Require(raw.size() == lines.size(), "the raw and the decoded lines are as many");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Require(Cp1250ToUtf8(raw[i]) == lines[i], "a decoded line is its raw line decoded");
        Require(lines[i].find_first_of("\r\n") == std::string::npos, "no line holds a line end");
        // A line taken apart is exactly the line its fields make; any other
        // line is kept whole.
        const TResultLine parsed = ParseResultLine(lines[i]);
        Require(parsed.raw == lines[i], "a line is kept whole");
        Require(!parsed.fields || FormatResultLine(*parsed.fields) == lines[i],
                "a line's fields make the line again");
    }

    const std::string formatted = FormatLog(lines);
    Require(ParseLog(formatted) == lines, "parse, format, parse gives the same lines");
    Require(FormatLog(ParseLog(formatted)) == formatted,
            "a formatted log formats to itself");

    // A line cut short by a crash is ended before anything is appended; the
    // ending must not change the lines there are.
    if (bytes.find('\0') == std::string_view::npos) {
        const std::string closed =
            std::string(bytes) + std::string(LineEndToClose(bytes));
        Require(ParseLog(closed) == lines, "ending the last line keeps the lines");
        Require(LineEndToClose(closed).empty(), "an ended log needs no line end");
    }

    // Page sizes from the input's own size, so that each input is laid out the
    // same way every time: wide and narrow pages, pages of one line or many.
    // A page narrower than most characters prints one character a line and
    // measures the rest of the line for each: only on short logs, to keep the
    // runs quick.
    const int n = static_cast<int>(bytes.size() % 64);
    CheckPrintout(lines, 40 + n * 7, 40 + n, 12);
    CheckPrintout(lines, 200, 0, 0);
    if (bytes.size() <= 256)
        CheckPrintout(lines, 3, 5, 12);
}

} // namespace kwizmar::fuzz
