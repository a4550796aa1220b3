#pragma once

#include "DoubleClickGuard.h"
#include "EgzaminLogic.h"
#include "ExamAdapters.h"
#include "QtRegionalSettings.h"
#include "QtShellOpen.h"
#include "QtTextMeasure.h"
#include "ScrollingCaption.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kwizmar {

class ILockdownOperations;
class TExamPage;
class THelpPanel;
class TOdometer;
class TResultDelivery;
class TResultsLog;
class TSettings;
class TSpeedButton;
class TStartPage;
class TSummaryPage;

// What the main window works with, owned by the application.
struct TEgzaminServices {
    TSettings& settings;
    TResultsLog& resultsLog;
    // Takes the finished exams' lines to the log off the window's thread.
    TResultDelivery& delivery;
    ILockdownOperations& lockdown;
    TScrollingCaption& caption;
    // The live state of "Wyświetlaj każdą opowiedź w formie testowej".
    std::function<bool()> everyAnswerInTestForm;
    // The live states of "Losowa kolejność pytań" and "… odpowiedzi".
    std::function<TShuffle()> shuffle;
    // The journal of the exam in progress; none keeps no journal.
    TExamJournalFile* journal = nullptr;
    // What the lab's administrator fixed for every exam.
    TLabRules labRules{};
    // A trial run of the test editor: its pages say so.
    bool trial = false;
};

// The main window. It shows the model of TEgzaminLogic and forwards every
// user action and timer tick to it; the rules live there.
class TEgzamin final : public QWidget {
public:
    explicit TEgzamin(TEgzaminServices services, QWidget* parent = nullptr);
    ~TEgzamin() override;

    // What the lockdown the options ask for can't do here (empty: nothing),
    // shown on the start page.
    void ShowLockdownNote(const QString& note);
    // The test to load once the window is first shown (the command line's
    // first argument); empty for none.
    void SetCommandLineTest(const QString& path);
    // What else runs at the first showing, before the command-line test: the
    // stored options and the file-type registration. An error there skips the
    // rest, the command-line test included.
    void SetFirstShowSteps(std::function<void()> steps);
    // Runs when the window is first shown, before anything else (the splash goes).
    void SetOnFirstShow(std::function<void()> handler);
    // The statistics, options and about windows, opened by "&Statystyki",
    // "&Opcje" and "Abo&ut"; the main window is disabled while one is open.
    void SetSecondaryWindows(QWidget* statistics, QWidget* options, QWidget* about);

    // The folder the test chooser opens in: "Testy" in the program's data
    // folder (beside the program, or where it was installed).
    static QString TestFolder();

    // ChooseTest: runs the open dialog and loads the chosen file, if any.
    void ChooseTest();
    void LoadTest(const QString& path);

    // An exam that did not end, found in the journal at start-up: the
    // examinee is told who, which test, how far and how much time is left,
    // and continues it (the default) or ends it; an exam that can't go on
    // ends at once with what was answered.
    void OfferResume();

    const TEgzaminLogic& Logic() const { return *logic_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The window closes: the lockdown lifted, the clocks stopped.
    void Close(QCloseEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TBinding {
        QWidget* widget;
        const TControl* control;
    };

    void BuildLeftColumn();
    void BuildBindings();
    void ConnectEvents();
    void ConnectTimers();
    void WatchEvents();
    // Runs one action on the logic, reports its error, then shows the model.
    void Act(const std::function<void()>& action);
    void Render();
    void RenderFocus();
    // The clock's digits alone, after a second that changed nothing else.
    void RenderClock();
    void MoveBanner();
    void OpenSecondary(QWidget* window);
    void SaveResultLine(const std::string& line, const TAnswerRecord& record,
                        TExamPorts::TSaved done);
    // Asks whether the strict exam in progress is to end now.
    bool ConfirmEndingTheExam();
    void ShowHelp(const QString& controlName);
    // An arrow on an answer button: the next answer shown is picked.
    bool MoveAmongAnswers(QObject* watched, int key);
    // F1: the program's help page in the browser.
    void OpenHelpPage();
    // What a screen reader reads that the model doesn't hold: the window's
    // and the pages' names, each answer with its letter.
    void RenderAccessibleNames();
    // The control the focus goes to where the model names none: the first
    // one of the page or overlay on top.
    QWidget* FirstShownControl() const;
    const TControl* ControlOf(const QString& name) const;
    QString HelpName(QObject* object) const;

    TEgzaminServices services_;
    TQtRegionalSettings regional_;
    TQtTextMeasure measure_;
    TQtMessageBox messages_;
    TSystemClock clock_;
    TDoubleClickGuard doubleClickGuard_;
    TQtShellOpen shell_; // opens the help page
    std::unique_ptr<TEgzaminLogic> logic_;

    QString commandLineTest_;
    std::function<void()> firstShowSteps_;
    std::function<void()> onFirstShow_;
    bool shownOnce_ = false;
    // Closing waits for the finished exam's line to reach the log.
    bool closeWhenSaved_ = false;
    // The program is asked to end from outside (Windows ends the session or
    // closes it for an installation): an exam in progress stays in its
    // journal, and nothing holds the close up.
    bool sessionEnding_ = false;
    bool rendering_ = false;
    // The focus the window last took from the model or reported to it.
    std::string renderedFocus_;
    // The focus is to go to the first control in sight (FirstShownControl).
    bool firstControlDue_ = false;
    int shownPage_ = -1; // which pages and overlays the last render showed
    std::vector<TBinding> bindings_;
    std::array<QWidget*, 3> Secondary() const { return {statistics_, options_, about_}; }
    QWidget* statistics_ = nullptr;
    QWidget* options_ = nullptr;
    QWidget* about_ = nullptr;

    QTimer Czas;
    QTimer Timer1;
    QTimer captionTimer_;

    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    TStartPage* Panel6 = nullptr;
    TExamPage* Panel3 = nullptr;
    TSummaryPage* Panel4 = nullptr;
    THelpPanel* HP = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;  // "&Zamknij"
    TSpeedButton* SpeedButton3 = nullptr;  // "&Start"
    TSpeedButton* SpeedButton4 = nullptr;  // "Abo&ut"
    TSpeedButton* SpeedButton5 = nullptr;  // "&Opcje"
    TSpeedButton* SpeedButton6 = nullptr;  // "O&K", test form
    TSpeedButton* SpeedButton9 = nullptr;  // "&Egzaminuj ..."
    TSpeedButton* SpeedButton10 = nullptr; // "&Statystyki"
    TSpeedButton* SpeedButton11 = nullptr; // "Oceny"
    TSpeedButton* SpeedButton12 = nullptr; // "O&K", typed answer
    TSpeedButton* SpeedButton14 = nullptr; // "&Powrót ..."
};

} // namespace kwizmar
