#pragma once

#include "ResultsLog.h"
#include "TextMeasure.h"

#include <cstddef>
#include <functional>
#include <string>

namespace kwizmar {

// The buttons of the statistics window, by their names.
struct TStatystykaView {
    bool SpeedButton3 = false; // "Z&apisz ..."  enabled
    bool SpeedButton2 = false; // "&Usuń ..."    enabled
    bool SpeedButton4 = false; // "&Wyczyść"     enabled
    // "&Drukuj" (SpeedButton5) and "&Zamknij" (SpeedButton1) are always enabled.

    int selected = -1; // the selected line of ListBox1, -1 for none
    // While no line is selected after a delete: where the deleted line was.
    // The arrows go on from there, Down to the line that followed it, Up to
    // the one before it. -1 otherwise.
    int deletedAt = -1;
    // ListBox1's horizontal scroll extent: the widest line's width + 20 where
    // it is wider than the list; 0 for none.
    int horizontalExtent = 0;
    // Under the list: how many results wait on this computer for the log,
    // and where; empty while none wait.
    std::string waitingNote;
};

// The statistics window's note on `count` results waiting in `where`.
std::string WaitingNote(std::size_t count, const std::string& where);
// The question before a save that takes `removed` results out of the log.
std::string SaveQuestion(std::size_t removed);

// The statistics window's rules over the one list of the results log.
//
// Locked means: "Zablokuj edytowanie statystyk" is checked at that moment; the
// window asks `locked` each time it needs to know, never the stored setting.
class TStatystykaLogic {
public:
    // The list's font: the form's default, MS Sans Serif 8 point.
    static TFontSpec ListFont() { return {"MS Sans Serif", 11, false}; }

    TStatystykaLogic(TResultsLog& log, std::function<bool()> locked, const ITextMeasure& measure);

    // The window is shown: the log is loaded afresh into the list, "&Usuń ..."
    // and "Z&apisz ..." are disabled, "&Wyczyść" is enabled when not locked
    // and the list is not empty; the horizontal extent is the widest line's,
    // so that the end of every line (points, percentage, grade) can be
    // scrolled to before anything is clicked. A log that can't be read throws
    // what TResultsLog::LoadIntoList throws; the buttons are set for the list
    // as it is then all the same.
    void FormShow();
    // The list's client area is `clientWidth` pixels wide (at its first
    // showing and at every resize): the extent follows.
    void ListBox1Resize(int clientWidth);
    // The results waiting on this computer are counted again (one went in,
    // or one more waits): waitingNote.
    void ShowWaiting();

    // A line is selected (`index` into lines(); -1 for none) in a list whose
    // client area is `clientWidth` pixels wide. Where the selected line is
    // wider than the widest one measured, the extent grows to it.
    // "&Wyczyść" and "&Usuń ..." follow the lock.
    void ListBox1Click(int index, int clientWidth);

    // "&Usuń ...": deletes the selected line (a no-op without one, or while
    // the button is disabled), enables "Z&apisz ...", disables "&Usuń ...";
    // the keyboard goes on from the deleted line's place (deletedAt).
    void SpeedButton2Click();
    // "&Wyczyść": empties the list; "Z&apisz ..." enabled, the other two not.
    void SpeedButton4Click();
    // "Z&apisz ...": writes the list to the log's current path, with the
    // lines other copies appended since it was loaded after it. Throws
    // EFCreateError, leaving the button enabled and the list as it was; or
    // EResultsLogChanged when another copy rewrote the log meanwhile: the list
    // is then the log as it is and the buttons as on a fresh showing.
    void SpeedButton3Click();

    // How many results the save would take out of the log: those loaded and
    // deleted or cleared since. The window asks before such a save
    // (SaveQuestion).
    std::size_t RemovedCount() const;

    TLogLines lines() const { return log_.lines(); }
    const TStatystykaView& view() const { return view_; }

    // How many of the longest lines (by their bytes) are measured for the
    // extent: measuring all of a large log would hold up its showing, and
    // among lines of one format the longest are the widest.
    static constexpr std::size_t kMeasuredLines = 32;

private:
    void ShowLoadedList();
    void MeasureWidest();
    void SetExtent();

    TResultsLog& log_;
    std::size_t loaded_ = 0; // lines in the list as loaded or saved last
    std::function<bool()> locked_;
    const ITextMeasure& measure_;
    TStatystykaView view_;
    int widest_ = 0;      // the widest line measured, in pixels
    int clientWidth_ = 0; // the list's client area as last told
};

} // namespace kwizmar
