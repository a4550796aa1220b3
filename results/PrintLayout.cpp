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

// Breaks one list line into printed lines no wider than `pageWidth`.
void WrapLine(const std::string& line, const ITextMeasure& measure, const TFontSpec& font,
              int pageWidth, std::vector<std::string>& out) {
    if (measure.TextWidth(line, font) <= pageWidth) {
        out.push_back(line);
        return;
    }
    const std::vector<std::size_t> starts = CharacterStarts(line);
    const std::size_t count = starts.size() - 1;
    std::size_t first = 0; // index of the first character of the printed line
    while (first < count) {
        const std::string_view rest(line.data() + starts[first], line.size() - starts[first]);
        if (measure.TextWidth(rest, font) <= pageWidth) {
            out.emplace_back(rest);
            return;
        }
        // The most characters from `first` that fit; at least one, so that a
        // character wider than the page still moves the printout on.
        std::size_t fits = 1, tooMany = count - first;
        while (tooMany - fits > 1) {
            const std::size_t mid = fits + (tooMany - fits) / 2;
            const std::string_view part(line.data() + starts[first],
                                        starts[first + mid] - starts[first]);
            if (measure.TextWidth(part, font) <= pageWidth)
                fits = mid;
            else
                tooMany = mid;
        }
        out.emplace_back(line.data() + starts[first], starts[first + fits] - starts[first]);
        first += fits;
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
