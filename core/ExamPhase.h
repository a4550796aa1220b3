#pragma once

#include <array>
#include <string_view>

namespace kwizmar {

struct TEgzaminView;

// The screens of the main window, from the start page to the summary. The
// view keeps them as its panels and controls stand; ExamPhaseOf reads the
// phase off them, and the exam's rules say what a key or a click may do by
// the phase (see TEgzaminLogic).
enum class TExamPhase {
    StartPage,  // P0: the start page, no test chosen
    TestChosen, // P1: the start page with a test, "&Start" ready
    Question,   // Q: the answers open to a pick
    FormChoice, // C: the chooser of the answer's form, "&samodzielna" or "&testowa"
    Typing,     // T: the answer typed in its field
    Verdict,    // V: a verdict that counted, waiting for "O&K"
    WrongTyped, // W: the verdict of a wrong typed answer, the test form next
    Summary,    // S: the summary of a finished exam
};
inline constexpr int kExamPhaseCount = 8;

// The phase the view shows: the start page and the summary cover the exam
// page; on it the answer-form overlay, with its chooser or its field, and the
// verdict cover the answers.
TExamPhase ExamPhaseOf(const TEgzaminView& view);

// Short names "P0", "P1", "Q", "C", "T", "V", "W", "S", as the state table
// heads its columns.
const char* ExamPhaseName(TExamPhase phase);

// The phases of an exam in progress: from the first question to its last
// verdict, until the summary or the start page takes over.
bool ExamInProgress(TExamPhase phase);
// The start page, with or without a test.
bool OnStartPage(TExamPhase phase);

// --- the state table ------------------------------------------------------
// How a control stands in a phase.
enum class TShown {
    Unseen,   // "-": not seen in that phase, or not fixed by it
    On,       // visible and enabled
    Dim,      // visible and disabled
    Off,      // hidden
    Enabled,  // only the enabled state counts (Next and Dalej are never seen): enabled
    Disabled, // likewise: disabled
};
struct TPhaseCell {
    TShown shown = TShown::Unseen;
    int slot = 0; // 1 … 4: the slot of the left column (kSlot1 …); 0: not fixed
};
// One control of the table: its name in the view and its cell in each phase,
// in the order of TExamPhase.
struct TPhaseRow {
    std::string_view control;
    std::array<TPhaseCell, kExamPhaseCount> cells;
    const TPhaseCell& In(TExamPhase phase) const { return cells[static_cast<std::size_t>(phase)]; }
};
// Which pages, overlays and navigation controls each phase shows.
const std::array<TPhaseRow, 25>& ExamPhaseTable();
// The y of a slot of the left column, 1 … 4.
int SlotY(int slot);

} // namespace kwizmar
