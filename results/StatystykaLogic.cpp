#include "StatystykaLogic.h"

#include "Paths.h"
#include "PendingResults.h"
#include "ScopeExit.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace kwizmar {

namespace {

// Polish numerals: 2, 3, 4, 22 … take the plural's first form, 5 … 21, 25 …
// the second.
bool FewForm(std::size_t count) {
    const std::size_t tens = count % 100, ones = count % 10;
    return ones >= 2 && ones <= 4 && !(tens >= 12 && tens <= 14);
}

} // namespace

std::string SaveQuestion(std::size_t removed) {
    const std::string n = std::to_string(removed);
    if (removed == 1)
        return "Zapisać? Z dziennika zniknie 1 wynik.";
    if (FewForm(removed))
        return "Zapisać? Z dziennika znikną " + n + " wyniki.";
    return "Zapisać? Z dziennika zniknie " + n + " wyników.";
}

std::string WaitingNote(std::size_t count, const std::string& where) {
    if (count == 0)
        return "";
    const bool few = FewForm(count);
    const std::string n = std::to_string(count);
    if (count == 1)
        return "Na tym komputerze czeka 1 wynik, który jeszcze nie trafił do pliku wyników; jest "
               "bezpieczny w pliku " +
               where + " i zostanie dopisany sam.";
    return "Na tym komputerze " + std::string(few ? "czekają " : "czeka ") + n +
           (few ? " wyniki" : " wyników") +
           ", które jeszcze nie trafiły do pliku wyników; są bezpieczne w pliku " + where +
           " i zostaną dopisane same.";
}

void TStatystykaLogic::ShowWaiting() {
    view_.waitingNote =
        WaitingNote(TPendingResults::Count(), Utf8FromPath(TPendingResults::File()));
}

TStatystykaLogic::TStatystykaLogic(TResultsLog& log, std::function<bool()> locked,
                                   const ITextMeasure& measure)
    : log_(log), locked_(std::move(locked)), measure_(measure) {}

void TStatystykaLogic::FormShow() {
    // Even when the log could not be read the buttons must match the list as it
    // stands, or "&Usuń ..." could stay enabled from an earlier showing.
    const TScopeExit showList([this] {
        ShowLoadedList();
        ShowWaiting();
    });
    log_.LoadIntoList();
}

std::size_t TStatystykaLogic::RemovedCount() const {
    return loaded_ > log_.LineCount() ? loaded_ - log_.LineCount() : 0;
}

void TStatystykaLogic::ShowLoadedList() {
    loaded_ = log_.LineCount();
    view_.SpeedButton2 = false;
    view_.SpeedButton3 = false;
    view_.SpeedButton4 = !locked_() && log_.LineCount() > 0;
    view_.selected = -1;
    view_.deletedAt = -1;
    MeasureWidest();
}

void TStatystykaLogic::MeasureWidest() {
    const TLogLines lines = log_.lines();
    // The longest lines by their bytes, kept in a heap whose top is the
    // shortest of them: one look at each line's size, and rarely more.
    using TSized = std::pair<std::size_t, std::size_t>; // bytes, index
    std::vector<TSized> longest;
    longest.reserve(kMeasuredLines);
    const auto shorter = std::greater<TSized>();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TSized line{lines.LineSize(i), i};
        if (longest.size() < kMeasuredLines) {
            longest.push_back(line);
            std::push_heap(longest.begin(), longest.end(), shorter);
        } else if (line.first > longest.front().first) {
            std::pop_heap(longest.begin(), longest.end(), shorter);
            longest.back() = line;
            std::push_heap(longest.begin(), longest.end(), shorter);
        }
    }
    widest_ = 0;
    for (const TSized& line : longest)
        widest_ = std::max(widest_, measure_.TextWidth(lines[line.second], ListFont()));
    SetExtent();
}

void TStatystykaLogic::SetExtent() {
    view_.horizontalExtent = clientWidth_ < widest_ ? widest_ + 20 : 0;
}

void TStatystykaLogic::ListBox1Resize(int clientWidth) {
    clientWidth_ = clientWidth;
    SetExtent();
}

void TStatystykaLogic::ListBox1Click(int index, int clientWidth) {
    if (index < 0 || std::size_t(index) >= log_.LineCount()) {
        view_.selected = -1;
        return;
    }
    view_.selected = index;
    view_.deletedAt = -1;
    clientWidth_ = clientWidth;
    widest_ = std::max(widest_, measure_.TextWidth(log_.Line(std::size_t(index)), ListFont()));
    SetExtent();
    const bool editable = !locked_();
    view_.SpeedButton4 = editable;
    view_.SpeedButton2 = editable;
}

void TStatystykaLogic::SpeedButton2Click() {
    if (!view_.SpeedButton2 || view_.selected < 0)
        return;
    log_.DeleteLine(std::size_t(view_.selected));
    MeasureWidest();
    view_.deletedAt = log_.LineCount() > 0 ? view_.selected : -1;
    view_.selected = -1;
    view_.SpeedButton3 = true;
    view_.SpeedButton2 = false;
}

void TStatystykaLogic::SpeedButton4Click() {
    if (!view_.SpeedButton4)
        return;
    log_.Clear();
    view_.selected = -1;
    view_.deletedAt = -1;
    MeasureWidest();
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
    loaded_ = log_.LineCount();
    view_.SpeedButton3 = false;
}

} // namespace kwizmar
