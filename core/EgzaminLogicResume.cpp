// The journal of the exam in progress, and the exam picked up from it after
// the program died.
#include "EgzaminLogic.h"

#include "Errors.h"
#include "StrToInt.h"

#include <algorithm>
#include <limits>

namespace kwizmar {

namespace {

// Leaves room for the next-question counter past the last question.
constexpr int kMaxQuestionShown = std::numeric_limits<int>::max() - 2;

TJournalPhase JournalPhaseOf(TExamPhase phase, const TExamJournal& journal) {
    if (!journal.resultText.empty())
        return TJournalPhase::Finishing;
    switch (phase) {
    case TExamPhase::Verdict:
        return TJournalPhase::Verdict;
    case TExamPhase::WrongTyped:
        return TJournalPhase::TypedWrong;
    case TExamPhase::FormChoice:
    case TExamPhase::Typing: // a typed answer on its way is not kept: the chooser comes back
        return TJournalPhase::FormChoice;
    default:
        return TJournalPhase::Choosing;
    }
}

} // namespace

void TEgzaminLogic::JournalStep() {
    if (!journaling_)
        return;
    journal_.questionNumber = state_.questionNumber;
    journal_.pointsGained = state_.pointsGained;
    journal_.pointsLost = state_.pointsLost;
    journal_.secondsLeft = std::int64_t(state_.minutesLeft) * 60 + state_.secondsLeft;
    journal_.phase = JournalPhaseOf(phase(), journal_);
    journal_.correctAnswerText = state_.correctAnswerText;
    journal_.outcomes = state_.outcomes;
    journal_.typedTried = state_.typedTried;
    journal_.feedback = {view_.RxLabel1.text, view_.RxLabel2.text, view_.RxLabel3.text,
                         view_.RxLabel4.text};
    ports_.journal->Write(journal_);
}

void TEgzaminLogic::RecordOutcome(char kind, std::int64_t points,
                                  std::optional<std::string> typed) {
    // In the file's numbering and letters, whatever the screen showed.
    const int f = state_.order.FileQuestion(state_.questionNumber);
    TQuestionOutcome outcome{f, kind, points};
    if (kind != 'S') {
        if (const int i = AnswerIndex(state_.chosenLetter); i >= 0)
            outcome.chosen = char('A' + state_.order.FileAnswer(f, i));
        typed = std::move(state_.typedTried);
    }
    outcome.typed = std::move(typed);
    state_.typedTried.reset();
    state_.outcomes.push_back(std::move(outcome));
}

bool TEgzaminLogic::ResultStored(const std::string& resultText) const {
    try {
        return ports_.resultStored && ports_.resultStored(resultText);
    } catch (...) {
        return false;
    }
}

void TEgzaminLogic::EndJournal(const std::string& resultText, bool failed) {
    journaling_ = false;
    // A line that reached neither the log nor the results waiting for it
    // stays in the journal, and the next start tries again.
    if (!failed || ResultStored(resultText))
        ports_.journal->Remove();
}

void TEgzaminLogic::AbandonExam() {
    if (!journaling_)
        return;
    journaling_ = false;
    ports_.journal->Remove();
}

TEgzaminLogic::TResumeCheck TEgzaminLogic::CheckJournal(const TExamJournal& journal) const {
    TResumeCheck check;
    const std::int64_t byDeadline = journal.deadline - ports_.clock.EpochSeconds();
    check.secondsLeft = std::clamp<std::int64_t>(std::min(byDeadline, journal.secondsLeft), 0,
                                                 std::int64_t(journal.minutesAllowed) * 60);
    try {
        const TTestFile test = TTestFile::ReadFile(journal.testPath);
        if (test.ContentHash() != journal.testHash)
            check.test = TResumeCheck::TTest::Changed;
    } catch (const EPlatformError&) {
        check.test = TResumeCheck::TTest::Gone;
    }
    return check;
}

void TEgzaminLogic::ResumeExam(const TExamJournal& journal, bool goOn) {
    if (!ports_.journal || !OnStartPage(phase()))
        return;
    if (journal.phase == TJournalPhase::Finishing) {
        // The exam had ended; its line may or may not have got through, and
        // its record with it.
        if (ResultStored(journal.resultText)) {
            if (journal.record != TAnswerRecord{} && ports_.keepRecord)
                ports_.keepRecord(journal.resultText, journal.record);
            ports_.journal->Remove();
            return;
        }
        const std::string line = journal.resultText;
        const std::exception_ptr logError =
            SaveResult(line, journal.record, [this, line](std::exception_ptr failure) {
                // Unless an exam started meanwhile has a journal of its own.
                if (!journaling_ && (!failure || ResultStored(line)))
                    ports_.journal->Remove();
            });
        if (logError)
            std::rethrow_exception(logError);
        return;
    }

    const TResumeCheck check = CheckJournal(journal);
    bool same = check.test == TResumeCheck::TTest::Same;
    if (same) {
        try {
            kwizmar::LoadTestFile(journal.testPath, loaded_, view_, ports_.regional,
                                  ports_.measure);
        } catch (const EPlatformError&) {
        }
        same = loaded_.test && loaded_.test->ContentHash() == journal.testHash;
    }

    TExamState fresh;
    fresh.chosenLetter = state_.chosenLetter;
    state_ = fresh;
    state_.userName = journal.userName;
    view_.NameEdit.text = journal.userName;
    state_.minutesAllowed = journal.minutesAllowed;
    view_.SETime.text = std::to_string(journal.minutesAllowed);
    state_.headerText = journal.headerText;
    // The test's own header where it is the same test.
    const std::string questionCountText =
        same ? loaded_.test->Header().questionCount : journal.questionCountText;
    const std::string maxPointsText =
        same ? loaded_.test->Header().maxPoints : journal.maxPointsText;
    state_.questionCount = TryStrToInt(questionCountText).value_or(0);
    state_.maxPoints = TryStrToInt(maxPointsText).value_or(0);
    state_.questionNumber = std::clamp(journal.questionNumber, 1,
                                       std::clamp(state_.questionCount, 1, kMaxQuestionShown));
    state_.nextQuestion = state_.questionNumber + 1;
    state_.pointsGained = journal.pointsGained;
    state_.pointsLost = journal.pointsLost;
    state_.testName = journal.testName;
    state_.testHash = journal.testHash;
    state_.questionsShown = std::min(state_.questionNumber, state_.questionCount);
    state_.outcomes = journal.outcomes;
    state_.order = OrderFits(journal.order, state_.questionCount) ? journal.order : TExamOrder{};
    state_.typedTried = journal.typedTried;
    state_.minutesLeft = int(check.secondsLeft / 60);
    state_.secondsLeft = int(check.secondsLeft % 60);

    journal_ = journal;
    journaling_ = true;
    if (same) {
        ShowQuestion(state_.questionNumber, false);
        // An earlier question's answer text, where this one names none.
        state_.correctAnswerText = journal.correctAnswerText;
        view_.LabelFullOdp.text = state_.correctAnswerText;
    }
    OpenExamPage(questionCountText, maxPointsText);

    if (!goOn || !same || check.secondsLeft == 0) {
        // As when the time runs out: what was not checked counts for nothing.
        std::exception_ptr logError;
        if (same) {
            state_.nextQuestion = state_.questionCount + 1;
            try {
                NextQuestionStep();
            } catch (...) {
                logError = std::current_exception();
            }
        } else {
            logError = FinishExam();
            view_.SpeedButton8.enabled = false;
        }
        view_.Czas = false;
        if (logError)
            std::rethrow_exception(logError);
        return;
    }
    RestorePhase(journal);
    JournalStep();
}

void TEgzaminLogic::RestorePhase(const TExamJournal& journal) {
    switch (journal.phase) {
    case TJournalPhase::FormChoice:
        if (state_.hasSelfAnswer)
            OfferAnswerForm();
        break;
    case TJournalPhase::Verdict:
    case TJournalPhase::TypedWrong:
        ShowFeedback(TAnswerFeedback{journal.feedback});
        view_.ODPPanel.visible = true;
        SetAnswerButtonsEnabled(false);
        if (journal.phase == TJournalPhase::Verdict) {
            view_.Next.enabled = true;
            view_.focus = "Next";
        } else {
            Hide(view_.SpeedButton8);
            Show(view_.SpeedButton13, true);
            view_.Dalej.enabled = true;
            view_.focus = "Dalej";
        }
        break;
    case TJournalPhase::Choosing:
    case TJournalPhase::Finishing:
        break;
    }
}

std::string ResumeMessage(const TExamJournal& journal, const TEgzaminLogic::TResumeCheck& check) {
    using TTest = TEgzaminLogic::TResumeCheck::TTest;
    std::string text =
        "Poprzedni egzamin nie został zakończony: program przerwał pracę albo komputer "
        "wyłączył się w trakcie egzaminu.\n\n";
    text += "Użytkownik: " + journal.userName + "\n";
    text += "Test: " + journal.testName + " (" + journal.testPath + ")\n";
    text += "Pytanie: " + std::to_string(journal.questionNumber) + " z " +
            journal.questionCountText +
            ", sprawdzone odpowiedzi: " + std::to_string(journal.outcomes.size()) + "\n";
    text += "Zdobyto " + std::to_string(journal.pointsGained) + " pkt., stracono " +
            std::to_string(journal.pointsLost) + " pkt.\n";
    text += "Pozostały czas: " + std::to_string(check.secondsLeft / 60) + " min " +
            std::to_string(check.secondsLeft % 60) + " s\n\n";
    constexpr const char* kEnds = " Egzamin zostaje zakończony z dotychczasowymi odpowiedziami.";
    if (check.test == TTest::Gone)
        return text + "Pliku testu już nie ma." + kEnds;
    if (check.test == TTest::Changed)
        return text + "Plik testu został zmieniony od rozpoczęcia egzaminu." + kEnds;
    if (check.secondsLeft == 0)
        return text + "Czas egzaminu minął, gdy program nie działał." + kEnds;
    return text + "Kontynuować ten egzamin? „Zakończ egzamin” kończy go od razu z "
                  "dotychczasowymi odpowiedziami.";
}

bool MayContinue(const TEgzaminLogic::TResumeCheck& check) {
    return check.test == TEgzaminLogic::TResumeCheck::TTest::Same && check.secondsLeft > 0;
}

} // namespace kwizmar
