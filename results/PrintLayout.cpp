#include "PrintLayout.h"

#include <algorithm>

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

} // namespace

TPrintPager::TPrintPager(std::size_t lineCount, TLineAt lineAt, const ITextMeasure& measure,
                         const TFontSpec& font, int pageWidth, int pageHeight, int lineHeight)
    : count_(lineCount), lineAt_(std::move(lineAt)), measure_(measure), font_(font),
      pageWidth_(pageWidth),
      perPage_(std::size_t(std::max(1, lineHeight > 0 ? pageHeight / lineHeight : 1))) {}

bool TPrintPager::NextPage(TPrintPage& page) {
    page.clear();
    while (page.size() < perPage_) {
        while (pending_.empty() && next_ < count_)
            WrapLine(lineAt_(next_++));
        if (pending_.empty())
            break;
        page.push_back(std::move(pending_.front()));
        pending_.pop_front();
    }
    return !page.empty();
}

// Each printed line is found by measuring pieces from the list line's start:
// first as many characters as the last broken printed line held (or, for the
// first line to break, as the line's average width suggests), then stepping
// 1, 2, 4 ... characters on or back until the most that fit lie between two
// measured pieces, which are then halved. Printed lines are mostly alike, so
// one takes two or three measurements of about its own length, and never one
// of the whole rest of the list line.
void TPrintPager::WrapLine(const std::string& line) {
    const std::vector<std::size_t> starts = CharacterStarts(line);
    const std::size_t count = starts.size() - 1;
    if (count == 0) {
        pending_.push_back(line); // an empty line prints as an empty line
        return;
    }
    if (guess_ == 0) {
        const int whole = measure_.TextWidth(line, font_);
        if (whole <= pageWidth_) {
            pending_.push_back(line);
            return;
        }
        guess_ = std::size_t(std::max(1.0, double(pageWidth_) * double(count) / double(whole)));
    }
    std::size_t first = 0; // index of the first character of the printed line
    auto fits = [&](std::size_t characters) {
        const std::string_view part(line.data() + starts[first],
                                    starts[first + characters] - starts[first]);
        return measure_.TextWidth(part, font_) <= pageWidth_;
    };
    auto rest = [&] {
        pending_.emplace_back(line.data() + starts[first], line.size() - starts[first]);
    };
    while (first < count) {
        const std::size_t left = count - first;
        if (left == 1)
            return rest(); // fitting or not, the one character goes on
        // At least one character, so that a character wider than the page
        // still moves the printout on; `tooMany` characters don't fit, and 0
        // means not known yet.
        std::size_t fitting = 1, tooMany = 0;
        const std::size_t start = std::min(guess_, left);
        if (start > 1 && !fits(start)) {
            tooMany = start;
            for (std::size_t step = 1; step < tooMany - 1; step *= 2) {
                const std::size_t probe = tooMany - step;
                if (fits(probe)) {
                    fitting = probe;
                    break;
                }
                tooMany = probe;
            }
        } else if (start == left) {
            return rest();
        } else {
            fitting = start;
            for (std::size_t step = 1; tooMany == 0; step *= 2) {
                const std::size_t probe = std::min(fitting + step, left);
                if (!fits(probe))
                    tooMany = probe;
                else if (probe == left)
                    return rest();
                else
                    fitting = probe;
            }
        }
        while (tooMany - fitting > 1) {
            const std::size_t mid = fitting + (tooMany - fitting) / 2;
            (fits(mid) ? fitting : tooMany) = mid;
        }
        pending_.emplace_back(line.data() + starts[first], starts[first + fitting] - starts[first]);
        first += fitting;
        guess_ = fitting;
    }
}

namespace {

std::vector<TPrintPage> WholePrintout(std::size_t lineCount, TPrintPager::TLineAt lineAt,
                                      const ITextMeasure& measure, const TFontSpec& font,
                                      int pageWidth, int pageHeight, int lineHeight) {
    TPrintPager pager(lineCount, std::move(lineAt), measure, font, pageWidth, pageHeight,
                      lineHeight);
    std::vector<TPrintPage> pages;
    for (TPrintPage page; pager.NextPage(page);)
        pages.push_back(std::move(page));
    return pages;
}

} // namespace

std::vector<TPrintPage> PrintLayout(const std::vector<std::string>& lines,
                                    const ITextMeasure& measure, const TFontSpec& font,
                                    int pageWidth, int pageHeight, int lineHeight) {
    return WholePrintout(
        lines.size(), [&](std::size_t i) { return lines[i]; }, measure, font, pageWidth, pageHeight,
        lineHeight);
}

std::vector<TPrintPage> PrintLayout(const TLogLines& lines, const ITextMeasure& measure,
                                    const TFontSpec& font, int pageWidth, int pageHeight,
                                    int lineHeight) {
    return WholePrintout(
        lines.size(), [&](std::size_t i) { return lines[i]; }, measure, font, pageWidth, pageHeight,
        lineHeight);
}

} // namespace kwizmar
