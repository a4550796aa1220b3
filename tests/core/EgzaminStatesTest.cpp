// The main window's states P0 … S: every transition walked through the model,
// and in each state the phase the model reads off the view and the visible
// and enabled flags of the navigation controls as its state table has them.
#include "EgzaminLogic.h"

#include "EgzaminHarness.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string_view>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

// The phases by the short names of the table's columns.
using TState = TExamPhase;
constexpr TState P0 = TExamPhase::StartPage;
constexpr TState P1 = TExamPhase::TestChosen;
constexpr TState Q = TExamPhase::Question;
constexpr TState C = TExamPhase::FormChoice;
constexpr TState T = TExamPhase::Typing;
constexpr TState V = TExamPhase::Verdict;
constexpr TState W = TExamPhase::WrongTyped;
constexpr TState S = TExamPhase::Summary;

// One cell of the model's state table (ExamPhase.h) against the control.
void ExpectCell(std::string_view name, const TControl& c, const TPhaseCell& cell) {
    SCOPED_TRACE(std::string(name));
    switch (cell.shown) {
    case TShown::Unseen:
        return;
    case TShown::Enabled:
    case TShown::Disabled:
        EXPECT_EQ(c.enabled, cell.shown == TShown::Enabled);
        return;
    case TShown::Off:
        EXPECT_FALSE(c.visible);
        return;
    case TShown::On:
    case TShown::Dim:
        EXPECT_TRUE(c.visible);
        EXPECT_EQ(c.enabled, cell.shown == TShown::On);
        if (cell.slot != 0) {
            EXPECT_EQ(c.y, SlotY(cell.slot));
            EXPECT_EQ(c.x, 8);
        }
        return;
    }
}

void ExpectState(const TEgzaminView& v, TState state) {
    SCOPED_TRACE(std::string("state ") + ExamPhaseName(state));
    EXPECT_EQ(ExamPhaseOf(v), state);
    for (const TPhaseRow& row : ExamPhaseTable()) {
        const TControl* control = v.Control(row.control);
        ASSERT_NE(control, nullptr) << row.control;
        ExpectCell(row.control, *control, row.In(state));
    }
    EXPECT_EQ(v.Czas, state >= Q && state <= W);
    EXPECT_EQ(v.Timer1, state >= Q);
    // Dim until an answer is marked, then on; likewise "Da&lej" and the form options.
    bool marked = false;
    for (int i = 0; i < kAnswerCount; ++i)
        marked = marked || v.AnswerButton(i)->checked;
    switch (state) {
    case Q:
        EXPECT_TRUE(v.SpeedButton6.visible);
        EXPECT_EQ(v.SpeedButton6.y, kSlot4);
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
        SCOPED_TRACE(ExamPhaseName(from));
        TEgzaminHarness h;
        DriveTo(h, from);
        ExpectState(h.view(), from);
        h.logic.ReturnToTestChoice();
        ExpectState(h.view(), P1);
        for (int i = 0; i < kAnswerCount; ++i)
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
        SCOPED_TRACE(ExamPhaseName(from));
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

TEST(EgzaminStates, TheTableKeepsEachScreensOwnControls) {
    auto cell = [](std::string_view control, TState state) {
        for (const TPhaseRow& row : ExamPhaseTable())
            if (row.control == control)
                return row.In(state).shown;
        ADD_FAILURE() << control << " is not in the table";
        return TShown::Unseen;
    };
    // "&Start" with a test only; "&Powrót ..." while an exam runs; Enter's two
    // targets after a verdict, each after its own.
    EXPECT_EQ(cell("SpeedButton3", P0), TShown::Off);
    EXPECT_EQ(cell("SpeedButton3", P1), TShown::On);
    for (TState s : {Q, C, T, V, W})
        EXPECT_EQ(cell("SpeedButton14", s), TShown::On) << ExamPhaseName(s);
    for (TState s : {P0, P1, S})
        EXPECT_EQ(cell("SpeedButton14", s), TShown::Off) << ExamPhaseName(s);
    EXPECT_EQ(cell("Next", V), TShown::Enabled);
    EXPECT_EQ(cell("Next", W), TShown::Disabled);
    EXPECT_EQ(cell("Dalej", W), TShown::Enabled);
    EXPECT_EQ(cell("Dalej", V), TShown::Disabled);
    EXPECT_EQ(cell("SamEdit", C), TShown::Dim);
    EXPECT_EQ(cell("SamEdit", T), TShown::On);
}
