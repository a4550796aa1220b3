#include "EgzaminLogic.h"

#include "Banner.h"
#include "ContextHelp.h"
#include "ExamClock.h"
#include "StrToInt.h"
#include "WrapDisplayLines.h"

namespace kwizmar {

namespace {

constexpr const char* kNoNameText = "Podaj imię użytkownika !!!";
constexpr const char* kNoTestText = "Nie wybrałeś testu !!!";

} // namespace

TEgzaminLogic::TEgzaminLogic(TExamPorts ports) : ports_(ports) {}

void TEgzaminLogic::LoadTestFile(const std::string& path) {
    if (!OnStartPage(phase()))
        return; // tests are chosen on the start page only
    kwizmar::LoadTestFile(path, loaded_, view_, ports_.regional, ports_.measure);
}

void TEgzaminLogic::SetUserName(const std::string& text) {
    view_.NameEdit.text = text;
}

void TEgzaminLogic::ApplyLabRules(const TLabRules& rules) {
    lab_ = rules;
    if (lab_.examMinutes != 0) {
        view_.SETime.text = ClampExamMinutesText(std::to_string(lab_.examMinutes));
        view_.SETime.enabled = false;
    }
}

void TEgzaminLogic::TypeExamMinutes(const std::string& text) {
    if (view_.SETime.enabled)
        view_.SETime.text = text;
}

void TEgzaminLogic::ClampExamMinutes(const std::string& text) {
    if (view_.SETime.enabled)
        view_.SETime.text = ClampExamMinutesText(text);
}

void TEgzaminLogic::SetTypedAnswer(const std::string& text) {
    if (view_.SamEdit.enabled)
        view_.SamEdit.text = text;
}

void TEgzaminLogic::SetFocus(const std::string& controlName) {
    view_.focus = controlName;
}

void TEgzaminLogic::ShowStoredSettings(const std::string& userName, int run) {
    view_.NameEdit.text = userName;
    view_.Odometer1.text = std::to_string(run);
}

void TEgzaminLogic::PressAnswerText(int index) {
    if (index >= 0 && index < kAnswerCount)
        view_.focus = kAnswerCapitals[index];
}

bool TEgzaminLogic::MayExplain(std::string_view controlName) const {
    if (!HelpFor(controlName))
        return false;
    const TControl* control = view_.Control(controlName);
    // The time the lab fixed explains why it can't change.
    const bool fixedTime = controlName == "SETime" && lab_.examMinutes != 0;
    return !control || (control->visible && (control->enabled || fixedTime));
}

const THelpEntry* TEgzaminLogic::Help(std::string_view controlName) const {
    static constexpr THelpEntry kFixedTime{
        "Czas egzaminu ustalił administrator pracowni dla wszystkich egzaminów na tym komputerze,",
        "dlatego nie można go tu zmienić.", ""};
    if (controlName == "SETime" && lab_.examMinutes != 0)
        return &kFixedTime;
    return HelpFor(controlName);
}

void TEgzaminLogic::StartExam() {
    if (!OnStartPage(phase()))
        return;
    if (view_.NameEdit.text.empty()) {
        ports_.messages.ShowMessage(kNoNameText);
        view_.focus = "NameEdit"; // where the name is to be typed
        return;
    }
    if (!loaded_.test) {
        ports_.messages.ShowMessage(kNoTestText);
        return;
    }
    ports_.storeUserName(view_.NameEdit.text);

    const TTestHeader header = loaded_.test->Header();
    TExamState fresh;
    fresh.chosenLetter = state_.chosenLetter;
    state_ = fresh;
    state_.userName = view_.NameEdit.text;
    view_.SETime.text = ClampExamMinutesText(view_.SETime.text); // the entry ends here
    state_.minutesAllowed = ExamMinutesOf(view_.SETime.text);
    const TLocalDateTime now = ports_.clock.Now();
    state_.headerText =
        BuildHeaderText({state_.userName, header.name, now.time, now.date, state_.minutesAllowed,
                         header.questionCount, header.maxPoints},
                        ports_.regional);
    // The loader accepts only tests whose header numbers convert.
    state_.questionCount = StrToInt(header.questionCount);
    state_.maxPoints = StrToInt(header.maxPoints);
    state_.testName = header.name;
    state_.testHash = loaded_.test->ContentHash();
    DrawOrder();
    state_.questionNumber = 1;
    state_.nextQuestion = 2;
    state_.minutesLeft = state_.minutesAllowed;
    state_.secondsLeft = 0;
    ShowQuestion(1, false);
    OpenExamPage(header.questionCount, header.maxPoints);

    if (state_.hasSelfAnswer && !ports_.everyAnswerInTestForm())
        OfferAnswerForm();

    if (ports_.journal) {
        const std::int64_t now = ports_.clock.EpochSeconds();
        journal_ = TExamJournal{};
        journal_.testPath = loaded_.path;
        journal_.testHash = state_.testHash;
        journal_.testName = header.name;
        journal_.userName = state_.userName;
        journal_.minutesAllowed = state_.minutesAllowed;
        journal_.startedAt = now;
        journal_.deadline = now + std::int64_t(state_.minutesAllowed) * 60;
        journal_.headerText = state_.headerText;
        journal_.questionCountText = header.questionCount;
        journal_.maxPointsText = header.maxPoints;
        journal_.order = state_.order;
        journaling_ = true;
        JournalStep();
    }
}

// The exam page as the exam state stands: banner, counters, clock and the
// side buttons of an exam. The question on screen is put there beforehand.
void TEgzaminLogic::OpenExamPage(const std::string& questionCountText,
                                 const std::string& maxPointsText) {
    PlaceBanner(view_.naglowek1, view_.naglowek2, state_.headerText, ports_.measure);
    view_.Timer1 = true;

    // Whatever the previous exam left on the answer area goes: a new exam
    // starts with nothing picked, no verdict and no keyboard target armed.
    UncheckAnswerButtons();
    Hide(view_.SpeedButton12);
    Hide(view_.SpeedButton13);
    view_.SamEdit.enabled = false;
    view_.SAMPanel.visible = false;
    view_.ODPPanel.visible = false;
    view_.Panel4.visible = false;
    view_.Panel8.visible = false;
    DisarmVerdictKeys("");

    view_.Label13.text = questionCountText;
    view_.Label19.text = maxPointsText;
    view_.NrPyt.text = std::to_string(state_.questionNumber);
    view_.PytBar.SetMaxValue(state_.questionCount);
    view_.PytBar.SetProgress(state_.questionNumber);
    view_.ZdobytoBar.SetMaxValue(state_.maxPoints);
    view_.StraconoBar.SetMaxValue(state_.maxPoints);
    ShowTotals();
    ShowClock();
    view_.Czas = true;

    view_.Panel6.visible = false;
    Hide(view_.SpeedButton3);
    Hide(view_.SpeedButton4);
    view_.SpeedButton1.y = kSlot3;
    view_.SpeedButton6.y = kSlot4;
    Show(view_.SpeedButton6, false);
    Show(view_.SpeedButton14, true);
    view_.SpeedButton2.enabled = false;
    Show(view_.SpeedButton8, true);
    SetAnswerButtonsEnabled(true);
}

void TEgzaminLogic::DrawOrder() {
    const TShuffle shuffle = ports_.shuffle ? ports_.shuffle() : TShuffle{};
    if (!shuffle.questions && !shuffle.answers)
        return;
    std::vector<std::array<bool, kOrderedAnswers>> filled;
    if (shuffle.answers)
        for (int k = 1; k <= state_.questionCount; ++k) {
            const TQuestion q = loaded_.test->Question(k);
            auto& places = filled.emplace_back();
            for (int i = 0; i < kOrderedAnswers; ++i)
                places[std::size_t(i)] = !q.answers[std::size_t(i)].empty();
        }
    state_.order = DrawExamOrder(state_.questionCount, filled, shuffle.questions, shuffle.answers,
                                 ports_.seed ? ports_.seed() : FreshSeed());
}

void TEgzaminLogic::ShowQuestion(int k, bool keepSelfAnswer) {
    // The exam's own order: its k-th question and its places A … E.
    const int f = state_.order.FileQuestion(k);
    TQuestion q = loaded_.test->Question(f);
    const TQuestion file = q;
    for (int i = 0; i < kAnswerCount; ++i)
        q.answers[std::size_t(i)] = file.answers[std::size_t(state_.order.FileAnswer(f, i))];
    if (const int i = AnswerIndex(q.correctLetter); i >= 0)
        q.correctLetter = std::string(1, char('a' + state_.order.ShownPlace(f, i)));
    if (k <= state_.questionCount)
        state_.questionsShown = std::max(state_.questionsShown, k);

    // The number goes in front after wrapping, so L1 may run wider than L2 and L3.
    const std::vector<std::string> text = WrapDisplayLines(q.text + ":", 3, ports_.measure);
    view_.L1.text = std::to_string(k) + ": " + text[0];
    view_.L2.text = text[1];
    view_.L3.text = text[2];
    for (int i = 0; i < kAnswerCount; ++i)
        view_.AnswerText(i)->text = q.answers[static_cast<std::size_t>(i)];

    state_.correctLetter = q.correctLetter;
    view_.LabelPrawda.text = state_.correctLetter;
    state_.questionPoints = q.points;
    view_.Zdobyto.text = state_.questionPoints;
    view_.OdpSam.text = q.selfAnswerLine;
    if (!keepSelfAnswer) {
        const TSelfAnswer self = ParseSelfAnswerLine(q.selfAnswerLine);
        state_.hasSelfAnswer = self.hasSelfAnswer;
        state_.selfAnswerExtra = self.selfAnswerExtra;
    }
    // Only the five lower-case letters name an answer; any other letter leaves
    // the previous question's answer text.
    if (const int i = AnswerIndex(state_.correctLetter); i >= 0)
        state_.correctAnswerText = q.answers[static_cast<std::size_t>(i)];
    view_.LabelFullOdp.text = state_.correctAnswerText;
}

void TEgzaminLogic::GoToNextQuestion() {
    if (phase() == TExamPhase::Verdict && view_.SpeedButton8.visible && view_.SpeedButton8.enabled)
        NextQuestionStep();
}

void TEgzaminLogic::NextQuestionStep() {
    const int c = state_.nextQuestion;
    // A wrong typed answer stays with the question the exam ends on.
    if (c <= state_.questionCount)
        state_.typedTried.reset();
    // Past the last question the step reads an empty question and keeps the
    // last one's self-answer; the summary covers it at once.
    ShowQuestion(c, c == state_.questionCount + 1);
    view_.Label13.text = view_.TSPyt.text;
    state_.questionNumber = c;
    view_.NrPyt.text = std::to_string(c);
    view_.PytBar.SetProgress(c);
    view_.SAMPanel.visible = false;

    UncheckAnswerButtons();
    SetAnswerButtonsEnabled(true);
    Hide(view_.SpeedButton12);
    Show(view_.SpeedButton6, false);
    view_.Next.enabled = false;
    view_.focus.clear();
    state_.nextQuestion = c + 1;

    if (state_.hasSelfAnswer && !ports_.everyAnswerInTestForm()) {
        OfferAnswerForm();
        view_.SpeedButton6.enabled = false;
        view_.SpeedButton7.enabled = false;
    }
    view_.ODPPanel.visible = false;

    std::exception_ptr logError;
    if (state_.nextQuestion == state_.questionCount + 2)
        logError = FinishExam();
    view_.SpeedButton8.enabled = false;
    if (journaling_)
        JournalStep();
    if (logError)
        std::rethrow_exception(logError);
}

void TEgzaminLogic::OfferAnswerForm() {
    view_.SAMPanel.visible = true;
    view_.Panel7.visible = true;
    view_.SamEdit.text.clear();
    // Covered by the chooser, the field takes no keys until a form is chosen.
    view_.SamEdit.enabled = false;
    view_.RBSam.checked = false;
    view_.RBTest.checked = false;
    state_.answerMode = TAnswerMode::NotChosen;
    view_.SpeedButton7.enabled = false;
    view_.LabelAdd.text = state_.selfAnswerExtra;
    SetAnswerButtonsEnabled(false);
    view_.focus = "RBSam";
}

void TEgzaminLogic::PressEnter() {
    const std::string& f = view_.focus;
    const TExamPhase now = phase();
    if (f == "NameEdit" || f == "SETime") {
        StartExam();
        return;
    }
    for (int i = 0; i < kAnswerCount; ++i) {
        if (f == kAnswerCapitals[i]) {
            // Enter checks without the button, but only an answer actually
            // picked on this question: the letter of an earlier one is no pick.
            // The buttons are enabled in the question only, and after a check
            // stopped by points that don't convert, which Enter repeats.
            if (ExamInProgress(now) && view_.AnswerButton(i)->enabled && AnyAnswerChecked())
                CheckTestAnswerNow();
            return;
        }
    }
    if (f == "RBSam" || f == "RBTest") {
        if (now == TExamPhase::FormChoice)
            ChooseAnswerFormNow();
    } else if (f == "SamEdit") {
        if (TypedAnswerOpen())
            CheckTypedAnswerNow(TTrigger::EnterKey);
    } else if (f == "Next") {
        if (now == TExamPhase::Verdict && view_.Next.enabled) {
            NextQuestionStep();
            view_.Next.enabled = false;
        }
    } else if (f == "Dalej") {
        if (now == TExamPhase::WrongTyped && view_.Dalej.enabled)
            FallBackNow();
    }
}

void TEgzaminLogic::ReturnToTestChoice() {
    if (!ExamInProgress(phase()) || !view_.SpeedButton14.visible || !view_.SpeedButton14.enabled)
        return;
    AbandonExam();
    BackToStartPage();
    UncheckAnswerButtons();
    view_.Czas = false;
    Hide(view_.SpeedButton6);
    Hide(view_.SpeedButton12);
    Hide(view_.SpeedButton14);
}

void TEgzaminLogic::SpeedButton9Click() {
    if (phase() != TExamPhase::Summary || !view_.SpeedButton9.visible ||
        !view_.SpeedButton9.enabled)
        return;
    BackToStartPage();
}

void TEgzaminLogic::BackToStartPage() {
    Hide(view_.SpeedButton10);
    Hide(view_.SpeedButton11);
    view_.Panel8.visible = false;
    view_.Panel4.visible = false;
    view_.ODPPanel.visible = false;
    view_.SpeedButton8.enabled = false;
    view_.SAMPanel.visible = false;

    Show(view_.SpeedButton3, true);
    view_.SpeedButton2.enabled = true;
    view_.Panel6.visible = true;

    view_.SpeedButton1.y = kSlot4;
    view_.SpeedButton4.y = kSlot3;
    Show(view_.SpeedButton5, true);
    Show(view_.SpeedButton4, true);

    SetAnswerButtonsEnabled(false);
    view_.Timer1 = false;
    Hide(view_.SpeedButton9);

    DisarmVerdictKeys("NameEdit");
}

void TEgzaminLogic::DisarmVerdictKeys(const char* focus) {
    // Next and Dalej take Enter after a verdict and only then. Left armed past
    // the verdict, a later Enter on the start page, a new question or the
    // summary would confirm an answer never given or write a line for an exam
    // abandoned, so every step that leaves a verdict behind disarms them.
    view_.Next.enabled = false;
    view_.Dalej.enabled = false;
    view_.focus = focus;
}

void TEgzaminLogic::SetAnswerButtonsEnabled(bool enabled) {
    for (int i = 0; i < kAnswerCount; ++i)
        view_.AnswerButton(i)->enabled = enabled;
}

void TEgzaminLogic::UncheckAnswerButtons() {
    for (int i = 0; i < kAnswerCount; ++i)
        view_.AnswerButton(i)->checked = false;
}

bool TEgzaminLogic::AnyAnswerChecked() const {
    for (int i = 0; i < kAnswerCount; ++i)
        if (view_.AnswerButton(i)->checked)
            return true;
    return false;
}

bool TEgzaminLogic::TypedAnswerOpen() const {
    return phase() == TExamPhase::Typing && view_.SamEdit.enabled;
}

void TEgzaminLogic::ShowTotals() {
    view_.ZdobytoPkt.text = std::to_string(state_.pointsGained);
    view_.StraconoPkt.text = std::to_string(state_.pointsLost);
    view_.ZdobytoBar.SetProgress(state_.pointsGained);
    view_.StraconoBar.SetProgress(state_.pointsLost);
}

void TEgzaminLogic::ShowClock() {
    view_.minuty.text = TwoDigits(state_.minutesLeft);
    view_.sekundy.text = TwoDigits(state_.secondsLeft);
}

} // namespace kwizmar
