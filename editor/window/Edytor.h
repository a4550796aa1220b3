#pragma once

#include "AnswerLetters.h"
#include "EdytorLogic.h"
#include "QtRegionalSettings.h"
#include "QtShellOpen.h"
#include "QtTextMeasure.h"
#include "RecentFiles.h"
#include "Recovery.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kwizmar {

class TPreview;
class TQuestionTextEdit;
class TFindingsList;

// Today's date on this computer.
TDate Today();

// The test editor's window: the test's header and question list on the left,
// the selected question with its preview on the right, each field with its
// checks beneath it. Every action goes to TEdytorLogic; Render then shows the
// logic's state.
class TEdytor final : public QMainWindow {
public:
    explicit TEdytor(IRegistry& registry);
    ~TEdytor() override;

    // Shows the window as the editor starts: 1040 × 760, or as much as the
    // screen takes (the rest then scrolls), in the middle of the screen.
    void ShowOnScreen();

    // Opens a test as File > Open does, telling the teacher when it can't.
    bool OpenFile(const QString& path);
    // Appends the questions of an Aiken or GIFT file as one edit, then lists
    // what was added and what was refused (EdytorImport.cpp).
    void ImportFile(const QString& path);
    const TEdytorLogic& Logic() const { return logic_; }
    // The system ends the editor: unsaved changes are kept in the user's
    // data folder, and the editor closes without asking.
    void KeepAndEnd();
    // At the start: offers back a test kept so by an editor that ended; true
    // when the teacher took it.
    bool OfferRecovery();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A line edit (or the question's text box) bound to a field; its checks
    // are shown in `checks`.
    struct TBoundField {
        QLineEdit* edit = nullptr;
        TQuestionTextEdit* box = nullptr;
        QLabel* checks = nullptr;
        std::function<TFieldRef()> ref;
        QWidget* widget() const;
    };

    void BuildActions();
    void FocusQuestionText();
    QWidget* BuildHeader();
    QWidget* BuildQuestionList();
    QWidget* BuildQuestion();
    QLineEdit* AddField(const char* name, const QString& hint, std::function<TFieldRef()> ref,
                        QLabel** checks);
    QLabel* MakeChecksLabel();
    // The keyboard's way through the window, in reading order (Tab), and
    // Enter's: the next field to type in.
    void SetTabOrder(const std::vector<QWidget*>& order);
    void FocusNextField(QWidget* from);

    // After every action: the logic's state onto the widgets.
    void Render();
    void RenderChecks(QLabel* label, const std::vector<TCheck>& checks);
    void RenderList();
    bool ChecksHidden(TFieldRef ref) const;
    // The list of every finding, and the way to one's field.
    void ShowFindings();
    void GoTo(TFieldRef ref);
    void Edit(const std::function<void()>& action);

    // Files (EdytorFiles.cpp).
    void NewTest();
    void OpenDialog();
    bool Save();
    bool SaveAs();
    bool SaveDraft();
    void ExportTextSource();
    // Runs a save and tells the teacher of any outcome but Saved, offering
    // what can be done instead; true when the test was saved, or kept as its
    // draft where its errors keep it from its .ts2 file: what a close or an
    // Open waits for.
    bool Write(const std::function<TSaveOutcome()>& save, const QString& path);
    bool Saved(TSaveOutcome outcome, const QString& path);
    bool TellSaveFailed(const QString& text);
    QString SuggestedNew(const QString& extension) const;
    QString AskTextSourcePath(const QString& title);
    // Tells of a change of the test's file on disk, once, when the window
    // is active.
    void CheckDiskChange();
    void TryIt();
    // The exam program with `arguments`, telling the teacher when it can't.
    void StartExamProgram(const QStringList& arguments);
    void ImportDialog();
    void ExportGift();
    void ShowHelp();
    // The copy for the next editor (EdytorRecovery.cpp).
    void StartKeepingCopies();
    void KeepCopyCurrent();
    std::string BelongsTo() const;
    void FillRecentMenu();
    // Asks about unsaved changes; false when the teacher cancels.
    bool MaySetTestAside();
    // Offers the draft for a test with errors; true when it was saved so.
    bool TellSaveRefused(const QString& what);
    // A file Open can't read that holds another program's questions: the
    // teacher is told so and offered their import. False for any other file.
    bool OfferImport(const QString& path);
    void Remember(const std::string& path);
    QString StartFolder() const;

    TQtRegionalSettings regional_;
    TQtTextMeasure measure_;
    TEdytorLogic logic_;
    TRecentFiles recent_;
    TQtShellOpen shell_; // opens the help page
    int question_ = -1;  // the question the fields show

    std::vector<TBoundField> fields_;
    QListWidget* list_ = nullptr;
    QGroupBox* questionBox_ = nullptr;
    std::array<QRadioButton*, kAnswerCount> correct_{};
    QLabel* correctChecks_ = nullptr;
    QLabel* answersNote_ = nullptr;
    QCheckBox* selfAnswer_ = nullptr;
    QLineEdit* bonus_ = nullptr;
    QLabel* selfAnswerNote_ = nullptr;
    QCheckBox* maxByHand_ = nullptr;
    QLineEdit* maxPoints_ = nullptr;
    QLabel* counts_ = nullptr;
    QLabel* listChecks_ = nullptr;
    TPreview* preview_ = nullptr;
    QLabel* status_ = nullptr;
    TFindingsList* findings_ = nullptr;
    bool askingAboutDisk_ = false;
    // A question just added, and those of its fields the teacher has left:
    // the checks of the others wait (ChecksHidden).
    int freshQuestion_ = -1;
    std::vector<TFieldRef> left_;
    bool ending_ = false;
    std::unique_ptr<TRecoveryKeeper> keeper_;
    QTimer* copyTimer_ = nullptr;
    bool copyDue_ = false;  // the test changed since the last copy was asked for
    bool copyKept_ = false; // a copy of this editor's is on disk, or on its way

    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* add_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* duplicate_ = nullptr;
    QAction* up_ = nullptr;
    QAction* down_ = nullptr;
    std::array<QAction*, kAnswerCount> correctActions_{};
    QMenu* recentMenu_ = nullptr;
};

} // namespace kwizmar
