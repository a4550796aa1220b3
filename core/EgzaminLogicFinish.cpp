// The clock, the banner and the end of an exam.
#include "EgzaminLogic.h"

#include "Banner.h"
#include "ExamClock.h"
#include "ExamResult.h"
#include "ScopeExit.h"

#include <algorithm>
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
    const TAnswerRecord record = AnswersRecord(line);
    if (journaling_) {
        // The line is in the journal before it goes to the log: a program
        // killed in between finds it there at its next start and stores it
        // unless it got through; its record with it.
        journal_.resultText = line;
        journal_.record = record;
        JournalStep();
    }
    // The statistics wait for the log until the line is in it, and the next
    // exam (its journal) for the end of this one's.
    view_.LabelZapis.visible = true;
    view_.SpeedButton10.enabled = false;
    view_.SpeedButton9.enabled = false;
    const std::exception_ptr logError =
        SaveResult(line, record, [this, line](std::exception_ptr failure) {
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

std::exception_ptr TEgzaminLogic::SaveResult(const std::string& line, const TAnswerRecord& record,
                                             std::function<void(std::exception_ptr)> then) {
    // Whether the port answers before it returns, and what: that failure is
    // the caller's to report where it reports one; a later answer reports
    // its own, through the window that passes it on.
    struct TAnswer {
        bool inside = true, given = false;
        std::exception_ptr failure;
    };
    auto answer = std::make_shared<TAnswer>();
    ports_.saveResultLine(line, record,
                          [answer, then = std::move(then)](std::exception_ptr failure) {
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

TAnswerRecord TEgzaminLogic::AnswersRecord(const std::string& lineText) const {
    TAnswerRecord record;
    record.lineStart = std::string(LineStartText(lineText));
    record.testName = state_.testName;
    record.testHash = state_.testHash;
    record.questionCount = std::max(state_.questionCount, 0);
    // The questions' keys and texts where the test on hand is the exam's.
    const TTestFile* test =
        loaded_.test && loaded_.test->ContentHash() == state_.testHash ? &*loaded_.test : nullptr;
    // The questions shown, in the file's numbering.
    const int shown = std::min(state_.questionsShown, record.questionCount);
    std::vector<int> questions;
    for (int k = 1; k <= shown; ++k)
        questions.push_back(state_.order.FileQuestion(k));
    std::sort(questions.begin(), questions.end());
    for (int f : questions) {
        TAnswerEntry entry;
        entry.question = f;
        if (test) {
            const TQuestion q = test->Question(f);
            if (const int i = AnswerIndex(q.correctLetter); i >= 0)
                entry.key = char('A' + i);
            entry.start = QuestionStartText(q.text);
        }
        record.entries.push_back(std::move(entry));
    }
    auto entryOf = [&](int question) -> TAnswerEntry* {
        const auto at = std::lower_bound(questions.begin(), questions.end(), question);
        return at != questions.end() && *at == question
                   ? &record.entries[std::size_t(at - questions.begin())]
                   : nullptr;
    };
    for (const TQuestionOutcome& o : state_.outcomes) {
        TAnswerEntry* entry = entryOf(o.question);
        if (!entry)
            continue;
        entry->chosen = o.chosen;
        // A journal from before the answers were kept has no typed text.
        entry->typedTried = o.typed.has_value() || o.kind == 'S';
        entry->typedRight = o.kind == 'S';
        entry->typed = o.typed.value_or("");
        (o.kind == 'W' ? entry->lost : entry->gained) = o.points;
    }
    // A wrong typed answer to the question on screen when the exam ended.
    if (state_.typedTried)
        if (TAnswerEntry* entry = entryOf(state_.order.FileQuestion(state_.questionsShown));
            entry && !entry->Answered()) {
            entry->typedTried = true;
            entry->typed = *state_.typedTried;
        }
    return record;
}

bool TEgzaminLogic::SavingResult() const {
    return view_.LabelZapis.visible;
}

} // namespace kwizmar
