// The main window's states P0 … S: every transition walked through the model,
// and in each state the visible and enabled flags of the navigation controls.
#include "EgzaminLogic.h"

#include "EgzaminHarness.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string_view>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

enum TState { P0, P1, Q, C, T, V, W, S };
constexpr std::array<const char*, 8> kStateNames = {"P0", "P1", "Q", "C", "T", "V", "W", "S"};

// One row of the state table. Cells: "on" visible and enabled, "dim" visible
// and disabled, "off" hidden, "-" not seen in that state; a digit after "on"
// or "dim" is the slot of the left column. For the two controls that are
// never seen: "en" enabled, "dis" disabled.
struct TRow {
    const char* name;
    const TControl& (*control)(const TEgzaminView&);
    std::array<const char*, 8> cells;
};

#define CONTROL(member) #member, [](const TEgzaminView& v) -> const TControl& { return v.member; }

const TRow kTable[] = {
    //                           P0     P1     Q      C      T      V      W      S
    {CONTROL(Panel6), /*      */ {"on", "on", "off", "off", "off", "off", "off", "off"}},
    {CONTROL(Panel3), /*      */ {"on", "on", "on", "on", "on", "on", "on", "on"}},
    {CONTROL(Panel4), /*      */ {"off", "off", "off", "off", "off", "off", "off", "on"}},
    {CONTROL(SAMPanel), /*    */ {"off", "off", "off", "on", "on", "off", "off", "off"}},
    {CONTROL(Panel7), /*      */ {"-", "-", "-", "on", "off", "-", "-", "-"}},
    {CONTROL(ODPPanel), /*    */ {"off", "off", "off", "off", "off", "on", "on", "off"}},
    {CONTROL(SpeedButton8), /**/ {"-", "-", "-", "-", "-", "on", "off", "-"}},
    {CONTROL(SpeedButton13), /**/ {"-", "-", "-", "-", "-", "off", "on", "-"}},
    {CONTROL(A), /*           */ {"-", "-", "on", "dim", "dim", "dim", "dim", "-"}},
    {CONTROL(E), /*           */ {"-", "-", "on", "dim", "dim", "dim", "dim", "-"}},
    {CONTROL(SpeedButton7), /**/ {"-", "-", "-", "-", "-", "-", "-", "-"}}, // below
    {CONTROL(SamEdit), /*     */ {"-", "-", "-", "dim", "on", "-", "-", "-"}},
    {CONTROL(Next), /*        */ {"dis", "dis", "dis", "dis", "dis", "en", "dis", "dis"}},
    {CONTROL(Dalej), /*       */ {"dis", "dis", "dis", "dis", "dis", "dis", "en", "dis"}},
    {CONTROL(SpeedButton5), /**/ {"on1", "on1", "on1", "on1", "on1", "on1", "on1", "off"}},
    {CONTROL(SpeedButton10), {"off", "off", "off", "off", "off", "off", "off", "on1"}},
    {CONTROL(SpeedButton3), /**/ {"off", "on2", "off", "off", "off", "off", "off", "off"}},
    {CONTROL(SpeedButton14), {"off", "off", "on2", "on2", "on2", "on2", "on2", "off"}},
    {CONTROL(SpeedButton11), {"off", "off", "off", "off", "off", "off", "off", "on2"}},
    {CONTROL(SpeedButton4), /**/ {"on3", "on3", "off", "off", "off", "off", "off", "off"}},
    {CONTROL(SpeedButton1), /**/ {"on4", "on4", "on3", "on3", "on3", "on3", "on3", "on3"}},
    {CONTROL(SpeedButton6), /**/ {"off", "off", "-", "dim4", "off", "-", "-", "off"}}, // Q below
    {CONTROL(SpeedButton12), {"off", "off", "off", "off", "on4", "-", "-", "off"}},
    {CONTROL(SpeedButton9), /**/ {"off", "off", "off", "off", "off", "off", "off", "on4"}},
    {CONTROL(SpeedButton2), /**/ {"on", "on", "dis", "dis", "dis", "dis", "dis", "dis"}},
};

#undef CONTROL

constexpr std::array<int, 5> kSlots = {0, 6, 86, 166, 240};

void ExpectCell(const TRow& row, const TControl& c, std::string_view cell) {
    SCOPED_TRACE(std::string(row.name) + " " + std::string(cell));
    if (cell == "-")
        return;
    if (cell == "en" || cell == "dis") {
        EXPECT_EQ(c.enabled, cell == "en");
        return;
    }
    if (cell == "off") {
        EXPECT_FALSE(c.visible);
        return;
    }
    EXPECT_TRUE(c.visible);
    EXPECT_EQ(c.enabled, cell.substr(0, 2) == "on");
    const char slot = cell.back();
    if (slot >= '1' && slot <= '4') {
        EXPECT_EQ(c.y, kSlots[slot - '0']);
        EXPECT_EQ(c.x, 8);
    }
}

void ExpectState(const TEgzaminView& v, TState state) {
    SCOPED_TRACE(std::string("state ") + kStateNames[state]);
    for (const TRow& row : kTable)
        ExpectCell(row, row.control(v), row.cells[state]);
    EXPECT_EQ(v.Czas, state >= Q && state <= W);
    EXPECT_EQ(v.Timer1, state >= Q);
    // Dim until an answer is marked, then on; likewise "Da&lej" and the form options.
    bool marked = false;
    for (int i = 0; i < 5; ++i)
        marked = marked || v.AnswerButton(i)->checked;
    switch (state) {
    case Q:
        EXPECT_TRUE(v.SpeedButton6.visible);
        EXPECT_EQ(v.SpeedButton6.y, kSlots[4]);
        EXPECT_EQ(v.SpeedButton6.enabled, marked);
        break;
    case C:
        EXPECT_TRUE(v.SpeedButton7.visible);
        EXPECT_EQ(v.SpeedButton7.enabled, v.RBSam.checked || v.RBTest.checked);
        // Focus on "&samodzielna" until an option is clicked, then on that option.
        EXPECT_EQ(v.focus, v.RBTest.checked ? "RBTest" : "RBSam");
        EXPECT_EQ(v.SamEdit.text, "");
        break;
    case T:
        EXPECT_EQ(v.focus, "SamEdit");
        break;
    case V:
        EXPECT_EQ(v.focus, "Next");
        break;
    case W:
        EXPECT_EQ(v.focus, "Dalej");
        break;
    default:
        break;
    }
}

// Six questions, correct letter "b", 2 points each; questions 2, 4 and 6
// offer a typed answer ("Odp B k") worth 3 extra points.
std::vector<std::string> SixQuestions() {
    return ValidTestLines(6);
}

struct TStep {
    const char* event;
    std::function<void(TEgzaminHarness&)> act;
    TState then;
};

} // namespace

TEST(EgzaminStates, FreshWindowIsTheStartPageWithoutATest) {
    TEgzaminHarness h;
    ExpectState(h.view(), P0);
    EXPECT_EQ(h.view().focus, "NameEdit");
}

TEST(EgzaminStates, EveryTransitionLeadsToTheStateOfTheTable) {
    const std::vector<TStep> walk = {
        {"rejected file", [](auto& h) { h.Load(SixQuestions(), "test.Ts2"); }, P0},
        {"valid test", [](auto& h) { h.Load(SixQuestions()); }, P1},
        {"rejected file", [](auto& h) { h.Load({"nie test"}); }, P0},
        {"valid test again", [](auto& h) { h.Load(SixQuestions()); }, P1},
        {"Start, question 1 has no typed answer",
         [](auto& h) {
             h.logic.SetUserName("Tester");
             h.logic.StartExam();
         },
         Q},
        {"answer marked",
         [](auto& h) {
             h.logic.ChooseAnswer("a");
             EXPECT_TRUE(h.view().SpeedButton6.enabled);
             EXPECT_TRUE(h.view().A.checked);
         },
         Q},
        {"O&K of the test form", [](auto& h) { h.logic.CheckTestAnswer(); }, V},
        {"O&K of the verdict, question 2 offers a typed answer",
         [](auto& h) { h.logic.GoToNextQuestion(); }, C},
        {"testowa marked",
         [](auto& h) {
             h.logic.ChooseFormOption(TAnswerMode::TestForm);
             EXPECT_TRUE(h.view().SpeedButton7.enabled);
         },
         C},
        {"Da&lej with testowa", [](auto& h) { h.logic.ChooseAnswerForm(); }, Q},
        {"Enter on a marked answer button",
         [](auto& h) {
             h.logic.ChooseAnswer("b");
             h.Enter("B");
         },
         V},
        {"Enter on Next, question 3", [](auto& h) { h.Enter("Next"); }, Q},
        {"answer and Enter",
         [](auto& h) {
             h.logic.ChooseAnswer("b");
             h.Enter("B");
         },
         V},
        {"Enter on Next, question 4", [](auto& h) { h.Enter("Next"); }, C},
        {"samodzielna marked", [](auto& h) { h.logic.ChooseFormOption(TAnswerMode::SelfTyped); },
         C},
        {"Da&lej with samodzielna", [](auto& h) { h.logic.ChooseAnswerForm(); }, T},
        {"wrong typed answer, O&K",
         [](auto& h) {
             h.Type("Kraków");
             h.logic.CheckTypedAnswer();
         },
         W},
        {"O&K of the fall-back", [](auto& h) { h.logic.FallBackToTestForm(); }, Q},
        {"pick and O&K",
         [](auto& h) {
             h.logic.ChooseAnswer("b");
             h.logic.CheckTestAnswer();
         },
         V},
        {"O&K of the verdict, question 5", [](auto& h) { h.logic.GoToNextQuestion(); }, Q},
        {"pick and O&K",
         [](auto& h) {
             h.logic.ChooseAnswer("c");
             h.logic.CheckTestAnswer();
         },
         V},
        {"question 6", [](auto& h) { h.logic.GoToNextQuestion(); }, C},
        {"samodzielna by Enter on the option",
         [](auto& h) {
             h.logic.ChooseFormOption(TAnswerMode::SelfTyped);
             h.Enter("RBSam");
         },
         T},
        {"wrong typed answer by Enter", [](auto& h) { h.Enter("SamEdit"); }, W},
        {"Enter on Dalej", [](auto& h) { h.Enter("Dalej"); }, Q},
        {"pick and Enter",
         [](auto& h) {
             h.logic.ChooseAnswer("b");
             h.Enter("B");
         },
         V},
        {"O&K after the last question", [](auto& h) { h.logic.GoToNextQuestion(); }, S},
        {"Egzaminuj", [](auto& h) { h.logic.SpeedButton9Click(); }, P1},
        {"Start again", [](auto& h) { h.logic.StartExam(); }, Q},
        {"Powrót", [](auto& h) { h.logic.ReturnToTestChoice(); }, P1},
    };
    TEgzaminHarness h;
    for (const TStep& step : walk) {
        SCOPED_TRACE(step.event);
        step.act(h);
        ExpectState(h.view(), step.then);
    }
    EXPECT_EQ(h.log.lines.size(), 1u);
}

TEST(EgzaminStates, RightTypedAnswerLeadsToTheVerdict) {
    TEgzaminHarness h;
    h.Begin(WithSelfAnswer(ValidTestLines(2), 1, "TAK - 3"));
    ExpectState(h.view(), C);
    h.ChooseForm(TAnswerMode::SelfTyped);
    ExpectState(h.view(), T);
    h.Type("odp b 1");
    h.logic.CheckTypedAnswer();
    ExpectState(h.view(), V);
    h.logic.GoToNextQuestion();
    ExpectState(h.view(), C);
}

namespace {

// From the start of a test whose first question offers a typed answer, to
// each answer state.
void DriveTo(TEgzaminHarness& h, TState state) {
    h.Begin(WithSelfAnswer(ValidTestLines(3), 1, "TAK - 3"));
    if (state == C)
        return;
    h.ChooseForm(state == Q ? TAnswerMode::TestForm : TAnswerMode::SelfTyped);
    if (state == Q || state == T)
        return;
    h.Type(state == V ? "Odp B 1" : "Odp C 1");
    h.Enter("SamEdit");
}

} // namespace

TEST(EgzaminStates, PowrotFromEveryAnswerStateGoesBackToTheStartPage) {
    for (TState from : {Q, C, T, V, W}) {
        SCOPED_TRACE(kStateNames[from]);
        TEgzaminHarness h;
        DriveTo(h, from);
        ExpectState(h.view(), from);
        h.logic.ReturnToTestChoice();
        ExpectState(h.view(), P1);
        for (int i = 0; i < 5; ++i)
            EXPECT_FALSE(h.view().AnswerButton(i)->checked);
        EXPECT_EQ(h.view().focus, "NameEdit");
        // The abandoned exam's time running out does nothing.
        h.Ticks(700);
        ExpectState(h.view(), P1);
        EXPECT_TRUE(h.log.lines.empty());
        // Enter on the start page starts a fresh exam on the same test.
        h.Enter("NameEdit");
        ExpectState(h.view(), C);
        EXPECT_EQ(h.state().pointsGained, 0);
        // Nothing of the abandoned question's verdict comes back with the next one.
        h.ChooseForm(TAnswerMode::SelfTyped);
        h.Type("Odp B 1");
        h.Enter("SamEdit");
        ExpectState(h.view(), V);
    }
}

TEST(EgzaminStates, TimeRunningOutInEveryAnswerStateShowsTheSummary) {
    for (TState from : {Q, C, T, V, W}) {
        SCOPED_TRACE(kStateNames[from]);
        TEgzaminHarness h;
        DriveTo(h, from);
        h.Ticks(600);
        ExpectState(h.view(), S);
        EXPECT_EQ(h.log.lines.size(), 1u);
    }
}

TEST(EgzaminStates, TheExamPageShowsAndExplainsItselfOnlyWhileUncovered) {
    TEgzaminHarness h;
    h.logic.ShowStoredSettings("Ola", 7);
    EXPECT_EQ(h.view().NameEdit.text, "Ola");
    EXPECT_EQ(h.view().Control("Odometer1")->text, "7");
    EXPECT_FALSE(h.view().ExamPageOnScreen()); // under the start page
    EXPECT_TRUE(h.logic.MayExplain("SpeedButton4"));
    EXPECT_FALSE(h.logic.MayExplain("SpeedButton14")); // hidden
    EXPECT_FALSE(h.logic.MayExplain("Linia1"));        // no help

    h.Begin(ValidTestLines(1));
    EXPECT_TRUE(h.view().ExamPageOnScreen());
    EXPECT_TRUE(h.logic.MayExplain("A"));
    h.logic.PressAnswerText(2);
    EXPECT_EQ(h.view().focus, "C");

    h.AnswerInTestForm("a");
    EXPECT_TRUE(h.view().Panel4.visible);
    EXPECT_FALSE(h.view().ExamPageOnScreen()); // under the summary
}
