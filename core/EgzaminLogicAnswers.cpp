// The answer of one question: the test form and the typed answer.
#include "EgzaminLogic.h"

#include "StrToInt.h"
#include "TypedAnswer.h"

namespace kwizmar {

void TEgzaminLogic::ShowFeedback(const TAnswerFeedback& feedback) {
    view_.RxLabel1.text = feedback.lines[0];
    view_.RxLabel2.text = feedback.lines[1];
    view_.RxLabel3.text = feedback.lines[2];
    view_.RxLabel4.text = feedback.lines[3];
}

void TEgzaminLogic::ChooseAnswer(const std::string& letter) {
    const int index = AnswerIndex(letter);
    if (index < 0 || phase() != TExamPhase::Question || !view_.AnswerButton(index)->enabled)
        return;
    state_.chosenLetter = letter;
    view_.LabelOdp.text = letter;
    for (int i = 0; i < kAnswerCount; ++i)
        view_.AnswerButton(i)->checked = i == index;
    view_.SpeedButton6.enabled = true;
    view_.focus = kAnswerCapitals[index];
}

void TEgzaminLogic::CheckTestAnswer() {
    if (phase() == TExamPhase::Question && view_.SpeedButton6.visible && view_.SpeedButton6.enabled)
        CheckTestAnswerNow();
}

void TEgzaminLogic::CheckTestAnswerNow() {
    const bool right = state_.correctLetter == state_.chosenLetter;
    ShowFeedback(right ? TAnswerFeedback::Right(state_.userName)
                       : TAnswerFeedback::WrongPick(state_.userName, state_.correctAnswerText));
    view_.SpeedButton6.enabled = false;
    view_.ODPPanel.visible = true;

    // A points line that doesn't convert stops the check here: the verdict
    // stands, the totals don't move.
    const int points = StrToInt(state_.questionPoints);
    if (right)
        state_.pointsGained += points;
    else
        state_.pointsLost += points;
    ShowTotals();

    SetAnswerButtonsEnabled(false);
    view_.SpeedButton8.enabled = true;
    view_.Next.enabled = true;
    view_.focus = "Next";
    RecordOutcome(right ? 'R' : 'W', points);
    JournalStep();
}

void TEgzaminLogic::RevealCorrectChoice(bool ctrlHeld) {
    if (ctrlHeld && !lab_.strictExam)
        ChooseAnswer(state_.correctLetter);
}

void TEgzaminLogic::ChooseFormOption(TAnswerMode mode) {
    if (mode == TAnswerMode::NotChosen || phase() != TExamPhase::FormChoice)
        return;
    state_.answerMode = mode;
    view_.RBSam.checked = mode == TAnswerMode::SelfTyped;
    view_.RBTest.checked = mode == TAnswerMode::TestForm;
    view_.SpeedButton7.enabled = true;
    view_.focus = mode == TAnswerMode::SelfTyped ? "RBSam" : "RBTest";
}

void TEgzaminLogic::ChooseAnswerForm() {
    if (phase() == TExamPhase::FormChoice && view_.SpeedButton7.enabled)
        ChooseAnswerFormNow();
}

void TEgzaminLogic::ChooseAnswerFormNow() {
    if (view_.RBTest.checked) {
        view_.SAMPanel.visible = false;
        SetAnswerButtonsEnabled(true);
        view_.focus.clear();
        // The answers are in sight now: a restart must not offer the typed
        // answer, and its bonus, again.
        JournalStep();
    } else if (view_.RBSam.checked) {
        view_.Panel7.visible = false;
        view_.SamEdit.enabled = true;
        view_.Next.enabled = false;
        Hide(view_.SpeedButton6);
        Show(view_.SpeedButton12, true);
        view_.focus = "SamEdit";
    }
    view_.SpeedButton7.enabled = false;
}

void TEgzaminLogic::CheckTypedAnswer() {
    if (TypedAnswerOpen() && view_.SpeedButton12.visible && view_.SpeedButton12.enabled)
        CheckTypedAnswerNow(TTrigger::Button);
}

void TEgzaminLogic::CheckTypedAnswerNow(TTrigger trigger) {
    if (TypedAnswerMatches(state_.correctAnswerText, view_.SamEdit.text)) {
        ShowFeedback(TAnswerFeedback::Right(state_.userName));
        view_.SpeedButton6.enabled = false;
        view_.ODPPanel.visible = true;
        // Converted in this order; a failure leaves the field and its button
        // enabled, so another check meets the same failure.
        const int points = StrToInt(state_.questionPoints);
        const int extra = StrToInt(state_.selfAnswerExtra);
        state_.pointsGained += static_cast<std::int64_t>(points) + extra;
        ShowTotals();
        RecordOutcome('S', static_cast<std::int64_t>(points) + extra, view_.SamEdit.text);
        view_.SAMPanel.visible = false;
        view_.SpeedButton8.enabled = true;
        view_.Next.enabled = true;
        view_.focus = "Next";
    } else {
        ShowFeedback(TAnswerFeedback::WrongTyped(state_.userName));
        state_.typedTried = view_.SamEdit.text;
        view_.SpeedButton6.enabled = false;
        view_.ODPPanel.visible = true;
        view_.SAMPanel.visible = false;
        Hide(view_.SpeedButton8);
        Show(view_.SpeedButton13, true);
        view_.Dalej.enabled = true;
        view_.focus = "Dalej";
    }
    view_.SamEdit.enabled = false;
    view_.SpeedButton12.enabled = false;
    if (trigger == TTrigger::Button) {
        view_.SpeedButton12.visible = false;
        Show(view_.SpeedButton6, false);
    }
    JournalStep();
}

void TEgzaminLogic::FallBackToTestForm() {
    if (phase() == TExamPhase::WrongTyped && view_.SpeedButton13.visible &&
        view_.SpeedButton13.enabled)
        FallBackNow();
}

void TEgzaminLogic::FallBackNow() {
    SetAnswerButtonsEnabled(true);
    view_.ODPPanel.visible = false;
    Show(view_.SpeedButton6, false);
    Hide(view_.SpeedButton12);
    Hide(view_.SpeedButton13);
    Show(view_.SpeedButton8, true);
    view_.Dalej.enabled = false;
    view_.focus.clear();
    JournalStep();
}

void TEgzaminLogic::RevealTypedAnswer(bool ctrlHeld) {
    if (ctrlHeld && !lab_.strictExam && TypedAnswerOpen())
        view_.SamEdit.text = state_.correctAnswerText;
}

} // namespace kwizmar
