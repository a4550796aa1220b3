#include "ExamPhase.h"

#include "EgzaminView.h"

namespace kwizmar {

TExamPhase ExamPhaseOf(const TEgzaminView& v) {
    if (v.Panel6.visible)
        return v.SpeedButton3.visible ? TExamPhase::TestChosen : TExamPhase::StartPage;
    if (v.Panel4.visible)
        return TExamPhase::Summary;
    // The answer-form overlay goes when its answer is taken; a check stopped
    // by a number that doesn't convert leaves it up under the verdict, and the
    // typed answer still to be taken.
    if (v.SAMPanel.visible)
        return v.Panel7.visible ? TExamPhase::FormChoice : TExamPhase::Typing;
    if (v.ODPPanel.visible)
        return v.SpeedButton13.visible ? TExamPhase::WrongTyped : TExamPhase::Verdict;
    return TExamPhase::Question;
}

const char* ExamPhaseName(TExamPhase phase) {
    static constexpr const char* kNames[kExamPhaseCount] = {"P0", "P1", "Q", "C",
                                                            "T",  "V",  "W", "S"};
    return kNames[static_cast<int>(phase)];
}

bool ExamInProgress(TExamPhase phase) {
    return phase >= TExamPhase::Question && phase <= TExamPhase::WrongTyped;
}

bool OnStartPage(TExamPhase phase) {
    return phase == TExamPhase::StartPage || phase == TExamPhase::TestChosen;
}

namespace {

constexpr TPhaseCell any{TShown::Unseen};
constexpr TPhaseCell on{TShown::On};
constexpr TPhaseCell dim{TShown::Dim};
constexpr TPhaseCell off{TShown::Off};
constexpr TPhaseCell en{TShown::Enabled};
constexpr TPhaseCell dis{TShown::Disabled};
constexpr TPhaseCell on1{TShown::On, 1};
constexpr TPhaseCell on2{TShown::On, 2};
constexpr TPhaseCell on3{TShown::On, 3};
constexpr TPhaseCell on4{TShown::On, 4};
constexpr TPhaseCell dim4{TShown::Dim, 4};

} // namespace

const std::array<TPhaseRow, 25>& ExamPhaseTable() {
    // Left open: the answers' "O&K" (SpeedButton6) of a question, dim until
    // an answer is marked, and "Da&lej" (SpeedButton7), dim until a form is.
    static const std::array<TPhaseRow, 25> table = {{
        //                  P0   P1   Q    C     T    V    W    S
        {"Panel6", /*    */ {on, on, off, off, off, off, off, off}},
        {"Panel3", /*    */ {on, on, on, on, on, on, on, on}},
        {"Panel4", /*    */ {off, off, off, off, off, off, off, on}},
        {"SAMPanel", /*  */ {off, off, off, on, on, off, off, off}},
        {"Panel7", /*    */ {any, any, any, on, off, any, any, any}},
        {"ODPPanel", /*  */ {off, off, off, off, off, on, on, off}},
        {"SpeedButton8", {any, any, any, any, any, on, off, any}},
        {"SpeedButton13", {any, any, any, any, any, off, on, any}},
        {"A", /*         */ {any, any, on, dim, dim, dim, dim, any}},
        {"E", /*         */ {any, any, on, dim, dim, dim, dim, any}},
        {"SpeedButton7", {any, any, any, any, any, any, any, any}},
        {"SamEdit", /*   */ {any, any, any, dim, on, any, any, any}},
        {"Next", /*      */ {dis, dis, dis, dis, dis, en, dis, dis}},
        {"Dalej", /*     */ {dis, dis, dis, dis, dis, dis, en, dis}},
        {"SpeedButton5", {on1, on1, on1, on1, on1, on1, on1, off}},
        {"SpeedButton10", {off, off, off, off, off, off, off, on1}},
        {"SpeedButton3", {off, on2, off, off, off, off, off, off}},
        {"SpeedButton14", {off, off, on2, on2, on2, on2, on2, off}},
        {"SpeedButton11", {off, off, off, off, off, off, off, on2}},
        {"SpeedButton4", {on3, on3, off, off, off, off, off, off}},
        {"SpeedButton1", {on4, on4, on3, on3, on3, on3, on3, on3}},
        {"SpeedButton6", {off, off, any, dim4, off, any, any, off}},
        {"SpeedButton12", {off, off, off, off, on4, any, any, off}},
        {"SpeedButton9", {off, off, off, off, off, off, off, on4}},
        {"SpeedButton2", {on, on, dis, dis, dis, dis, dis, dis}},
    }};
    return table;
}

int SlotY(int slot) {
    static constexpr int kSlots[] = {0, kSlot1, kSlot2, kSlot3, kSlot4};
    return kSlots[slot];
}

} // namespace kwizmar
