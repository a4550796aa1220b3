#pragma once

#include "AnswerFeedback.h"
#include "ContextHelp.h"
#include "EgzaminView.h"
#include "ExamJournal.h"
#include "ExamPhase.h"
#include "ExamPorts.h"
#include "ExamState.h"
#include "TestLoader.h"

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace kwizmar {

// The rules of the main window, from the choice of a test through the exam to
// the grade and back. It owns the loaded test, the exam state and the view;
// the window forwards every event to one operation here and then shows view().
//
// Clicks are forwarded whatever the state of the control; an operation started
// by a control that is hidden or disabled in the model, or in a phase (see
// ExamPhase.h) it doesn't belong to, does nothing, so a stale event can't act. Enter goes to
// PressEnter, which acts by view().focus; the window reports focus moves it makes itself (Tab, a
// click into a field) with SetFocus.
//
// Errors: a failure of the platform or of a number conversion is thrown as
// EPlatformError (or EConvertError, "'%s' is not a valid integer value") and
// stops the operation where it arose; what was done before stays done, so the
// window shows the error and then the view as it stands. The one exception to
// "stops where it arose" is the finish of an exam: a results log that can't be
// written doesn't keep the exam from ending (see GoToNextQuestion).
class TEgzaminLogic {
public:
    explicit TEgzaminLogic(TExamPorts ports);

    const TEgzaminView& view() const { return view_; }
    const TExamState& state() const { return state_; }
    const TLoadedTest& loadedTest() const { return loaded_; }
    // The screen the exam is on; every operation below acts only in the
    // phases its control belongs to.
    TExamPhase phase() const { return ExamPhaseOf(view_); }

    // --- start page -------------------------------------------------------
    // Reads the test file into the test box; throws EFOpenError when it can't
    // be opened (nothing changes then).
    void LoadTestFile(const std::string& path);
    // The name field and the run counter as the stored settings give them at
    // start-up.
    void ShowStoredSettings(const std::string& userName, int run);
    // The lab's rules, once at start-up: a fixed exam time is put in the time
    // field, which is disabled; a strict exam turns the Ctrl reveals off.
    void ApplyLabRules(const TLabRules& rules);
    // Edits of the name field, the time field and the typed-answer field.
    void SetUserName(const std::string& text);
    // The time field: its text as the user types it (a "3" on the way to "30"
    // stays "3"), then, once the entry is complete (Enter, leaving the field,
    // an arrow, "&Start"), kept within 5 … 60.
    void TypeExamMinutes(const std::string& text);
    void ClampExamMinutes(const std::string& text);
    void SetTypedAnswer(const std::string& text);
    void SetFocus(const std::string& controlName);
    // A left press on an answer text (odpA … odpE: 0 … 4) gives its answer
    // button the focus, as a press on the button would; the click then picks it.
    void PressAnswerText(int index);
    // Whether the right button may explain the control `controlName`: it has
    // help, and it is visible and enabled where the model knows it. Only what
    // the user can see and use explains itself.
    bool MayExplain(std::string_view controlName) const;
    // What the right button says of the control: its help (ContextHelp.h), or
    // for a time the lab fixed, why it can't change.
    const THelpEntry* Help(std::string_view controlName) const;

    // "&Start": checks the name and the test (message boxes), stores the name,
    // builds the banner, resets the counters, shows question 1, starts both timers.
    void StartExam();

    // --- test form ----------------------------------------------------------
    // A click on an answer button or its text: letter "a" … "e".
    void ChooseAnswer(const std::string& letter);
    // "O&K" of the test form (SpeedButton6).
    void CheckTestAnswer();
    // Mouse move over the answers; acts only with Ctrl held, and never in a
    // strict exam.
    void RevealCorrectChoice(bool ctrlHeld);

    // --- typed answer -------------------------------------------------------
    // A click on "&samodzielna" (SelfTyped) or "&testowa" (TestForm).
    void ChooseFormOption(TAnswerMode mode);
    // "Da&lej" (SpeedButton7).
    void ChooseAnswerForm();
    // "O&K" of the typed answer (SpeedButton12).
    void CheckTypedAnswer();
    // "O&K" after a wrong typed answer (SpeedButton13).
    void FallBackToTestForm();
    // Mouse move over the typed-answer field; acts only with Ctrl held, and
    // never in a strict exam.
    void RevealTypedAnswer(bool ctrlHeld);

    // --- moving on ------------------------------------------------------------
    // "O&K" after a verdict (SpeedButton8): the next question, or the finish
    // after the last one. At the finish a results log that can't be written
    // still leaves the exam finished (summary shown, clock stopped); the error
    // is thrown afterwards so that the window reports it.
    void GoToNextQuestion();
    // The Enter key, routed by the focus: name or time field → StartExam;
    // answer button → check the pick; form option → ChooseAnswerForm;
    // typed-answer field → check the typed answer; Next → next question;
    // Dalej → back to the test form.
    void PressEnter();

    // --- timers ---------------------------------------------------------------
    // The exam clock's second; at 0:00 the exam finishes at once.
    void ClockTick();
    // The banner's 70 ms step.
    void BannerStep();

    // --- summary and returns ----------------------------------------------------
    // A mouse button pressed on / released from "Oceny" (SpeedButton11).
    void ShowGradeScale(bool pressed);
    // "&Powrót ...": abandons the exam in progress, no result logged.
    void ReturnToTestChoice();
    // "&Egzaminuj ...": back to the start page after a finished exam.
    void SpeedButton9Click();
    // Whether the finished exam's line is still on its way to the log
    // ("Zapisywanie wyniku…" on the summary); the statistics wait for it.
    bool SavingResult() const;
    // The window closes, or "&Powrót ..." leaves the exam: an exam in
    // progress is abandoned, without a result and without a journal.
    void AbandonExam();
    // In a strict exam (the lab's StrictExam) an attempt can't be abandoned
    // and taken again unseen: leaving it ("&Zamknij", "&Powrót ...", the
    // window's close) is asked first and, confirmed, ends it with the answers
    // given, as when the time runs out (EndExamNow).
    bool LeavingEndsTheExam() const;
    void EndExamNow();

    // --- an exam that did not end ---------------------------------------------
    // With a journal port, the exam is journaled from its start to its end:
    // after each step that changes its outcome, and with its result line
    // before that line goes to the log, so that a restart neither loses the
    // line nor writes it twice.
    struct TResumeCheck {
        enum class TTest { Same, Gone, Changed } test = TTest::Same;
        // By the deadline, and never more than the clock showed at the last
        // step: 0 when the time ran out while the program was off.
        std::int64_t secondsLeft = 0;
    };
    TResumeCheck CheckJournal(const TExamJournal& journal) const;
    // Picks up the exam of `journal` on the start page. With `goOn`, the test
    // unchanged and time left, the exam goes on where it stood; otherwise it
    // finishes at once with what was answered, as when its time runs out. A
    // journal of an exam that had finished only makes sure its line is
    // stored, once. Throws, as the finish does, when the line can't be written.
    void ResumeExam(const TExamJournal& journal, bool goOn);

private:
    enum class TTrigger { Button, EnterKey };

    // The exam's own order where the options want one (ExamPorts.h's shuffle).
    void DrawOrder();
    // Question k of the exam's order, its answers in their places.
    void ShowQuestion(int k, bool keepSelfAnswer);
    void NextQuestionStep();
    void OfferAnswerForm();
    void SetAnswerButtonsEnabled(bool enabled);
    void UncheckAnswerButtons();
    void ShowFeedback(const TAnswerFeedback& feedback);
    void ShowTotals();
    void ShowClock();
    bool AnyAnswerChecked() const;
    // The typed-answer field takes its answer: typing, and the field enabled.
    bool TypedAnswerOpen() const;
    void CheckTestAnswerNow();
    void ChooseAnswerFormNow();
    void CheckTypedAnswerNow(TTrigger trigger);
    void FallBackNow();
    std::exception_ptr FinishExam();
    void FinishNow();
    void BackToStartPage();
    void DisarmVerdictKeys(const char* focus);
    void OpenExamPage(const std::string& questionCountText, const std::string& maxPointsText);
    void RestorePhase(const TExamJournal& journal);
    void JournalStep();
    // The question on screen checked: `typed` is the right typed answer (S).
    void RecordOutcome(char kind, std::int64_t points, std::optional<std::string> typed = {});
    // The answers of the exam for its record, in the test file's numbering.
    TAnswerRecord AnswersRecord(const std::string& lineText) const;
    void EndJournal(const std::string& resultText, bool failed);
    // Hands `line` to the log's port; `then` runs once the port tells how it
    // went. Returns the failure the port told before it returned; a failure
    // told later is thrown from the port's call, for the window to report.
    std::exception_ptr SaveResult(const std::string& line, const TAnswerRecord& record,
                                  std::function<void(std::exception_ptr)> then);
    bool ResultStored(const std::string& resultText) const;

    TExamPorts ports_;
    TLabRules lab_;
    TLoadedTest loaded_;
    TExamState state_;
    TEgzaminView view_;
    // The journal of the exam in progress, while there is one.
    TExamJournal journal_;
    bool journaling_ = false;
};

// What the start-up says of an exam that did not end: who, which test, how
// far, how much time is left, and whether it can go on or ends now.
std::string ResumeMessage(const TExamJournal& journal, const TEgzaminLogic::TResumeCheck& check);
// Whether the exam can go on: the same test and time left.
bool MayContinue(const TEgzaminLogic::TResumeCheck& check);

} // namespace kwizmar
