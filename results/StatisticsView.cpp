#include "StatisticsView.h"

#include "ScopeExit.h"

#include <algorithm>

namespace kwizmar {

TStatystykaLogic::TStatystykaLogic(TResultsLog& log, std::function<bool()> locked,
                                   const ITextMeasure& measure)
    : log_(log), locked_(std::move(locked)), measure_(measure) {}

void TStatystykaLogic::FormShow() {
    // Even when the log could not be read the buttons must match the list as it
    // stands, or "&Usuń ..." could stay enabled from an earlier showing.
    const TScopeExit showList([this] { ShowLoadedList(); });
    log_.LoadIntoList();
}

void TStatystykaLogic::ShowLoadedList() {
    view_.SpeedButton2 = false;
    view_.SpeedButton3 = false;
    view_.SpeedButton4 = !locked_() && !log_.lines().empty();
    view_.selected = -1;
    view_.horizontalExtent = 0;
}

void TStatystykaLogic::ListBox1Click(int index, int clientWidth) {
    if (index < 0 || std::size_t(index) >= log_.lines().size()) {
        view_.selected = -1;
        return;
    }
    view_.selected = index;
    const int width = measure_.TextWidth(log_.lines()[std::size_t(index)], ListFont());
    view_.horizontalExtent = clientWidth < width ? width + 20 : 0;
    const bool editable = !locked_();
    view_.SpeedButton4 = editable;
    view_.SpeedButton2 = editable;
}

void TStatystykaLogic::SpeedButton2Click() {
    if (!view_.SpeedButton2 || view_.selected < 0)
        return;
    log_.DeleteLine(std::size_t(view_.selected));
    view_.selected = -1;
    view_.SpeedButton3 = true;
    view_.SpeedButton2 = false;
}

void TStatystykaLogic::SpeedButton4Click() {
    if (!view_.SpeedButton4)
        return;
    log_.Clear();
    view_.selected = -1;
    view_.horizontalExtent = 0;
    view_.SpeedButton3 = true;
    view_.SpeedButton2 = false;
    view_.SpeedButton4 = false;
}

void TStatystykaLogic::SpeedButton3Click() {
    if (!view_.SpeedButton3)
        return;
    try {
        log_.Save();
    } catch (const EResultsLogChanged&) {
        // The list now holds the log as another copy left it: the window
        // stands as if just shown.
        ShowLoadedList();
        throw;
    }
    view_.SpeedButton3 = false;
}

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

} // namespace

std::vector<TPrintPage> PrintLayout(const std::vector<std::string>& lines,
                                    const ITextMeasure& measure, const TFontSpec& font,
                                    int pageWidth, int pageHeight, int lineHeight) {
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

} // namespace kwizmar
