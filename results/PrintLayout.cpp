#include "PrintLayout.h"

#include <algorithm>
#include <iterator>

namespace kwizmar {

namespace {

// Byte offsets of the starts of the UTF-8 characters of `text`, and its end.
std::vector<std::size_t> CharacterStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

// Breaks one list line into printed lines no wider than `pageWidth`. Each
// printed line is found by measuring ever longer pieces from its start (1, 2,
// 4 ... characters) until one is too wide, then halving between the last that
// fitted and that one: the text measured for a printed line is a few times
// its own length, never the rest of the list line, so a long line costs time
// in proportion to its length.
void WrapLine(const std::string& line, const ITextMeasure& measure, const TFontSpec& font,
              int pageWidth, std::vector<std::string>& out) {
    if (measure.TextWidth(line, font) <= pageWidth) {
        out.push_back(line);
        return;
    }
    const std::vector<std::size_t> starts = CharacterStarts(line);
    const std::size_t count = starts.size() - 1;
    std::size_t first = 0; // index of the first character of the printed line
    auto fits = [&](std::size_t characters) {
        const std::string_view part(line.data() + starts[first],
                                    starts[first + characters] - starts[first]);
        return measure.TextWidth(part, font) <= pageWidth;
    };
    while (first < count) {
        const std::size_t left = count - first;
        // At least one character, so that a character wider than the page
        // still moves the printout on; `tooMany` characters don't fit.
        std::size_t fitting = 1, tooMany = 0;
        for (std::size_t probe = 2; tooMany == 0; probe *= 2) {
            if (probe >= left) {
                if (fits(left)) {
                    out.emplace_back(line.data() + starts[first], line.size() - starts[first]);
                    return;
                }
                tooMany = left;
            } else if (fits(probe)) {
                fitting = probe;
            } else {
                tooMany = probe;
            }
        }
        while (tooMany - fitting > 1) {
            const std::size_t mid = fitting + (tooMany - fitting) / 2;
            (fits(mid) ? fitting : tooMany) = mid;
        }
        out.emplace_back(line.data() + starts[first], starts[first + fitting] - starts[first]);
        first += fitting;
    }
}

template <class TLines>
std::vector<TPrintPage> Layout(const TLines& lines, const ITextMeasure& measure,
                               const TFontSpec& font, int pageWidth, int pageHeight,
                               int lineHeight) {
    std::vector<std::string> printed;
    for (const std::string& line : lines)
        WrapLine(line, measure, font, pageWidth, printed);

    const std::size_t perPage =
        std::size_t(std::max(1, lineHeight > 0 ? pageHeight / lineHeight : 1));
    std::vector<TPrintPage> pages;
    for (std::size_t i = 0; i < printed.size(); i += perPage) {
        const std::size_t end = std::min(printed.size(), i + perPage);
        pages.emplace_back(std::make_move_iterator(printed.begin() + std::ptrdiff_t(i)),
                           std::make_move_iterator(printed.begin() + std::ptrdiff_t(end)));
    }
    return pages;
}

} // namespace

std::vector<TPrintPage> PrintLayout(const std::vector<std::string>& lines,
                                    const ITextMeasure& measure, const TFontSpec& font,
                                    int pageWidth, int pageHeight, int lineHeight) {
    return Layout(lines, measure, font, pageWidth, pageHeight, lineHeight);
}

std::vector<TPrintPage> PrintLayout(const TLogLines& lines, const ITextMeasure& measure,
                                    const TFontSpec& font, int pageWidth, int pageHeight,
                                    int lineHeight) {
    return Layout(lines, measure, font, pageWidth, pageHeight, lineHeight);
}

} // namespace kwizmar
