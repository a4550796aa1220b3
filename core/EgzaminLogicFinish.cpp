// The clock, the banner and the end of an exam.
#include "EgzaminLogic.h"

#include "Banner.h"
#include "ExamClock.h"
#include "ExamResult.h"
#include "ScopeExit.h"

#include <memory>

namespace kwizmar {

void TEgzaminLogic::ClockTick() {
    if (!view_.Czas)
        return; // a tick that was already queued when the clock stopped
    const bool timeUp = TickDown(state_.minutesLeft, state_.secondsLeft);
    ShowClock();
    if (!timeUp)
        return;
    FinishNow();
}

void TEgzaminLogic::FinishNow() {
    // Whatever is on screen, unchecked picks and typed text included, is
    // dropped: the next-question step finishes the exam at once.
    state_.nextQuestion = state_.questionCount + 1;
    const TScopeExit stopClock([this] { view_.Czas = false; });
    NextQuestionStep();
}

bool TEgzaminLogic::LeavingEndsTheExam() const {
    return lab_.strictExam && ExamInProgress(phase());
}

void TEgzaminLogic::EndExamNow() {
    if (ExamInProgress(phase()))
        FinishNow();
}

void TEgzaminLogic::BannerStep() {
    if (view_.Timer1)
        StepBanner(view_.naglowek1, view_.naglowek2);
}

void TEgzaminLogic::ShowGradeScale(bool pressed) {
    if (!pressed)
        view_.Panel8.visible = false;
    else if (phase() == TExamPhase::Summary && view_.SpeedButton11.visible &&
             view_.SpeedButton11.enabled)
        view_.Panel8.visible = true;
}

std::exception_ptr TEgzaminLogic::FinishExam() {
    view_.SpeedButton2.enabled = false;
    Hide(view_.SpeedButton3);
    Hide(view_.SpeedButton5);
    Hide(view_.SpeedButton6);
    Hide(view_.SpeedButton12);
    Show(view_.SpeedButton9);
    Hide(view_.SpeedButton14);
    Show(view_.SpeedButton11);
    Show(view_.SpeedButton10);

    const TExamResult result = ComputeExamResult(state_);
    const auto lines = SummaryLines(state_.userName, view_.Label19.text, result);
    TControl* labels[] = {&view_.RxLabel5, &view_.RxLabel6, &view_.RxLabel7,
                          &view_.RxLabel8, &view_.RxLabel9, &view_.RxLabel10};
    for (std::size_t i = 0; i < lines.size(); ++i)
        labels[i]->text = lines[i];

    // The exam is over whether or not its line reaches the log: the summary
    // shows and the clock stops either way, and the caller reports the failure.
    const std::string line = ResultLineText(state_.headerText, result);
    if (journaling_) {
        // The line is in the journal before it goes to the log: a program
        // killed in between finds it there at its next start and stores it
        // unless it got through.
        journal_.resultText = line;
        JournalStep();
    }
    // The statistics wait for the log until the line is in it, and the next
    // exam (its journal) for the end of this one's.
    view_.LabelZapis.visible = true;
    view_.SpeedButton10.enabled = false;
    view_.SpeedButton9.enabled = false;
    const std::exception_ptr logError = SaveResult(line, [this, line](std::exception_ptr failure) {
        if (journaling_)
            EndJournal(line, failure != nullptr);
        view_.LabelZapis.visible = false;
        view_.SpeedButton10.enabled = true;
        view_.SpeedButton9.enabled = true;
    });

    view_.Panel4.visible = true;
    view_.Czas = false;

    // Nothing under the summary takes Enter any more, not even the form
    // chooser that the step past the last question may have put up.
    view_.SAMPanel.visible = false;
    Hide(view_.SpeedButton13);
    DisarmVerdictKeys("");
    return logError;
}

std::exception_ptr TEgzaminLogic::SaveResult(const std::string& line,
                                             std::function<void(std::exception_ptr)> then) {
    // Whether the port answers before it returns, and what: that failure is
    // the caller's to report where it reports one; a later answer reports
    // its own, through the window that passes it on.
    struct TAnswer {
        bool inside = true, given = false;
        std::exception_ptr failure;
    };
    auto answer = std::make_shared<TAnswer>();
    ports_.saveResultLine(line, [answer, then = std::move(then)](std::exception_ptr failure) {
        then(failure);
        if (answer->inside) {
            answer->given = true;
            answer->failure = failure;
        } else if (failure) {
            std::rethrow_exception(failure);
        }
    });
    answer->inside = false;
    return answer->failure;
}

bool TEgzaminLogic::SavingResult() const {
    return view_.LabelZapis.visible;
}

} // namespace kwizmar
