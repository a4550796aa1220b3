#include "Egzamin.h"

#include "Accessibility.h"
#include "AnswerLetters.h"
#include "ContextHelp.h"
#include "ErrorHandler.h"
#include "ExamPage.h"
#include "FixedFrame.h"
#include "Glyphs.h"
#include "HelpPanel.h"
#include "Lockdown.h"
#include "Odometer.h"
#include "OpenTest.h"
#include "ProgramData.h"
#include "ResultDelivery.h"
#include "ResultsLog.h"
#include "Settings.h"
#include "SpeedButton.h"
#include "StartPage.h"
#include "SummaryPage.h"
#include "Widgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QShortcutEvent>
#include <QSpinBox>
#include <QStyle>
#include <QUrl>

namespace kwizmar {

namespace {

constexpr int kClientWidth = 602;
constexpr int kClientHeight = 307;
constexpr int kColumnWidth = 89;

} // namespace

TEgzamin::TEgzamin(TEgzaminServices services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    TSettings& settings = services_.settings;
    TResultsLog& log = services_.resultsLog;
    logic_ = std::make_unique<TEgzaminLogic>(TExamPorts{
        [&settings](const std::string& name) { settings.WriteUserName(name); },
        services_.everyAnswerInTestForm,
        [this](const std::string& line, const TAnswerRecord& record, TExamPorts::TSaved done) {
            SaveResultLine(line, record, std::move(done));
        },
        messages_, clock_, regional_, measure_, services_.journal,
        [&log](const std::string& line) { return log.HoldsResult(line); },
        [this](const std::string& line, const TAnswerRecord& record) {
            TResultsLog::KeepRecord(line, record);
            services_.delivery.TryNow();
        },
        services_.shuffle});
    logic_->ApplyLabRules(services_.labRules);
    InstallAccessibility();
    setObjectName(QStringLiteral("Egzamin"));
    setWindowTitle(QStringLiteral("Nerbaly Kwizmar 2002"));
    SetFixedFrame(*this, {kClientWidth, kClientHeight});

    BuildLeftColumn();
    auto* content = new QFrame(this);
    content->setObjectName(QStringLiteral("Panel2"));
    content->setFrameStyle(QFrame::Panel | QFrame::Raised);
    content->setGeometry(kColumnWidth, 0, kClientWidth - kColumnWidth, kClientHeight);
    Panel2 = content;
    const QRect page(1, 1, content->width() - 2, content->height() - 2);
    Panel3 = new TExamPage(content);
    Panel3->setGeometry(page);
    Panel4 = new TSummaryPage(content);
    Panel4->setGeometry(page);
    Panel6 = new TStartPage(content);
    Panel6->setGeometry(page);
    Panel3->Proba->setVisible(services_.trial);
    Panel4->Proba->setVisible(services_.trial);
    HP = new THelpPanel(this);
    HP->OnMouseMove([this] { HP->hide(); });

    // Every button takes the focus by Tab (a click leaves it where the exam
    // put it), so the keyboard reaches every action.
    for (TSpeedButton* button : findChildren<TSpeedButton*>())
        button->setFocusPolicy(Qt::TabFocus);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { OpenHelpPage(); });

    // The program never quits by itself while this window is open: a quit
    // before its close comes from outside.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            [this] { sessionEnding_ = true; });

    BuildBindings();
    ConnectEvents();
    ConnectTimers();
    WatchEvents();

    // A time the lab fixed can't change, but reads as plainly as any text.
    if (services_.labRules.examMinutes != 0)
        if (auto* time = findChild<QWidget*>(QStringLiteral("SETime"))) {
            QPalette plain = time->palette();
            for (const QPalette::ColorRole role :
                 {QPalette::Text, QPalette::WindowText, QPalette::ButtonText, QPalette::Base})
                plain.setColor(QPalette::Disabled, role, plain.color(QPalette::Active, role));
            time->setPalette(plain);
            for (QWidget* part : time->findChildren<QWidget*>())
                part->setPalette(plain);
        }

    // The stored name and the run counter; an error here leaves the window as it is.
    RunGuarded([this] { services_.settings.LoadUserSettings(); });
    logic_->ShowStoredSettings(services_.settings.UserName, services_.settings.Run);
    Render();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// While QWidget's destructor runs, the window is no longer a TEgzamin: the
// focus leaving a field then (its entry ending) and the application's focus
// changes must no longer reach it.
TEgzamin::~TEgzamin() {
    disconnect(qApp, nullptr, this, nullptr);
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

void TEgzamin::BuildLeftColumn() {
    auto* column = new QFrame(this);
    column->setObjectName(QStringLiteral("Panel1"));
    column->setFrameStyle(QFrame::Panel | QFrame::Raised);
    column->setGeometry(0, 0, kColumnWidth, kClientHeight);
    Panel1 = column;
    auto button = [column](const char* name, const char* caption, const char* hint, TGlyph icon) {
        auto* b = new TSpeedButton(name, QString::fromUtf8(caption), QString::fromUtf8(hint),
                                   Glyph(icon), column);
        b->resize(73, 63);
        return b;
    };
    SpeedButton5 = button("SpeedButton5", "&Opcje", "Opcje dostępne w programie", TGlyph::Options);
    SpeedButton10 = button("SpeedButton10", "&Statystyki", "Statystyki", TGlyph::Statistics);
    SpeedButton3 = button("SpeedButton3", "&Start", "Rozpocznij test", TGlyph::Start);
    SpeedButton14 = button("SpeedButton14", "&Powrót ...", "Powróć do wyboru testu", TGlyph::Back);
    SpeedButton11 = button("SpeedButton11", "Oceny", "Skala ocen", TGlyph::Grades);
    SpeedButton4 = button("SpeedButton4", "Abo&ut", "O programie", TGlyph::About);
    SpeedButton1 = button("SpeedButton1", "&Zamknij", "Zakończ działanie programu", TGlyph::Close);
    SpeedButton6 = button("SpeedButton6", "O&K", "Zatwierdź wybór", TGlyph::Check);
    SpeedButton12 = button("SpeedButton12", "O&K", "Zatwierdź wybór", TGlyph::Check);
    SpeedButton9 = button("SpeedButton9", "&Egzaminuj ...", "Egzaminuj ponownie", TGlyph::Again);
}

void TEgzamin::ConnectEvents() {
    auto click = [this](QAbstractButton* b, std::function<void()> action) {
        connect(b, &QAbstractButton::clicked, this, [this, action] { Act(action); });
    };
    TEgzaminLogic& logic = *logic_;
    click(SpeedButton1, [this] { close(); });
    click(SpeedButton3, [&logic] { logic.StartExam(); });
    click(SpeedButton4, [this] { OpenSecondary(about_); });
    click(SpeedButton5, [this] { OpenSecondary(options_); });
    click(SpeedButton10, [this] { OpenSecondary(statistics_); });
    click(SpeedButton6, [&logic] { logic.CheckTestAnswer(); });
    click(SpeedButton12, [&logic] { logic.CheckTypedAnswer(); });
    click(SpeedButton9, [&logic] { logic.SpeedButton9Click(); });
    click(SpeedButton14, [this, &logic] {
        if (!logic.LeavingEndsTheExam())
            logic.ReturnToTestChoice();
        else if (ConfirmEndingTheExam())
            logic.EndExamNow();
    });
    click(Panel6->SpeedButton2, [this] { ChooseTest(); });

    TExamPage* exam = Panel3;
    for (int i = 0; i < kAnswerCount; ++i) {
        const std::string letter = kAnswerLetters[i];
        click(exam->Answer[static_cast<std::size_t>(i)],
              [&logic, letter] { logic.ChooseAnswer(letter); });
        TPressLabel* text = exam->AnswerText[static_cast<std::size_t>(i)];
        text->OnPress([this, &logic, i](Qt::MouseButtons held) {
            if (held & Qt::LeftButton)
                Act([&] { logic.PressAnswerText(i); });
        });
        text->OnClick([this, &logic, letter] { Act([&] { logic.ChooseAnswer(letter); }); });
        text->OnMove([this, &logic](Qt::KeyboardModifiers m) {
            if (m & Qt::ControlModifier)
                Act([&] { logic.RevealCorrectChoice(true); });
        });
    }
    click(exam->RBSam, [&logic] { logic.ChooseFormOption(TAnswerMode::SelfTyped); });
    click(exam->RBTest, [&logic] { logic.ChooseFormOption(TAnswerMode::TestForm); });
    click(exam->SpeedButton7, [&logic] { logic.ChooseAnswerForm(); });
    click(exam->SpeedButton8, [&logic] { logic.GoToNextQuestion(); });
    click(exam->SpeedButton13, [&logic] { logic.FallBackToTestForm(); });
    click(exam->Next, [&logic] {
        logic.SetFocus("Next");
        logic.PressEnter();
    });
    click(exam->Dalej, [&logic] {
        logic.SetFocus("Dalej");
        logic.PressEnter();
    });

    connect(Panel6->NameEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!rendering_)
            Act([&] { logic_->SetUserName(text.toStdString()); });
    });
    // The time is kept within its bounds once an entry is complete, never
    // while digits are still coming: "3" on the way to "30" must stay "3".
    QSpinBox* time = Panel6->SETime;
    connect(time->findChild<QLineEdit*>(), &QLineEdit::textEdited, this,
            [this](const QString& text) {
                if (!rendering_)
                    Act([&] { logic_->TypeExamMinutes(text.toStdString()); });
            });
    auto clampTime = [this, time] {
        if (!rendering_)
            Act([&] { logic_->ClampExamMinutes(time->text().toStdString()); });
    };
    connect(time, &QSpinBox::editingFinished, this, clampTime);
    connect(time, &QSpinBox::valueChanged, this, clampTime); // the arrows
    connect(exam->SamEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!rendering_)
            Act([&] { logic_->SetTypedAnswer(text.toStdString()); });
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (rendering_ || !now || now->window() != this)
            return;
        firstControlDue_ = false; // the person moved it
        const QString name = HelpName(now);
        if (ControlOf(name)) {
            renderedFocus_ = name.toStdString();
            logic_->SetFocus(renderedFocus_);
        }
    });
}

void TEgzamin::ConnectTimers() {
    // Named children, so that tests can find them and speed them up.
    Czas.setParent(this);
    Czas.setObjectName(QStringLiteral("Czas"));
    Czas.setInterval(1000);
    Timer1.setParent(this);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(70);
    connect(&Czas, &QTimer::timeout, this, [this] {
        RunGuarded([this] { logic_->ClockTick(); });
        // A second that doesn't end the exam changes the clock's digits alone:
        // the idle exam page shows them and nothing else.
        logic_->view().Czas ? RenderClock() : Render();
    });
    // A banner step moves the two banner labels and nothing else: it comes 14
    // times a second for the whole exam.
    connect(&Timer1, &QTimer::timeout, this, [this] {
        logic_->BannerStep();
        MoveBanner();
    });

    TScrollingCaption& caption = services_.caption;
    caption.OnWindowTitle = [this](const std::string& title) {
        setWindowTitle(QString::fromStdString(title));
    };
    caption.OnApplicationTitle = [](const std::string& title) {
        SetApplicationTitle(QString::fromStdString(title));
    };
    captionTimer_.setInterval(caption.Interval());
    // The timer runs while scrolling is on; the option switches it at any time.
    connect(&captionTimer_, &QTimer::timeout, this, [this] { services_.caption.Step(); });
    caption.OnEnabled = [this](bool enabled) {
        if (shownOnce_)
            enabled ? captionTimer_.start() : captionTimer_.stop();
    };
}

void TEgzamin::WatchEvents() {
    // Enter, right-button help, Ctrl over the typed answer and "Oceny" held
    // down all arrive here.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty())
            w->installEventFilter(this);
    }
    Panel6->SETime->findChild<QLineEdit*>()->installEventFilter(this);
    Panel3->SamEdit->setMouseTracking(true);
    for (QWidget* answer : Panel3->Answer)
        answer->setMouseTracking(true); // Ctrl over the buttons, as over their texts
}

void TEgzamin::SetCommandLineTest(const QString& path) {
    commandLineTest_ = path;
}

void TEgzamin::SetFirstShowSteps(std::function<void()> steps) {
    firstShowSteps_ = std::move(steps);
}

void TEgzamin::SetOnFirstShow(std::function<void()> handler) {
    onFirstShow_ = std::move(handler);
}

void TEgzamin::SetSecondaryWindows(QWidget* statistics, QWidget* options, QWidget* about) {
    statistics_ = statistics;
    options_ = options;
    about_ = about;
    for (QWidget* window : Secondary())
        if (window)
            window->installEventFilter(this);
}

QString TEgzamin::TestFolder() {
    return QString::fromStdString(ProgramDataFolder()) + QStringLiteral("/Testy");
}

void TEgzamin::ChooseTest() {
    TOpenTest OpenTest(this, TestFolder());
    if (OpenTest.exec() != QDialog::Accepted || OpenTest.selectedFiles().isEmpty())
        return;
    // Qt's dialog names a file with "/"; the program shows the system's separators.
    LoadTest(QDir::toNativeSeparators(OpenTest.selectedFiles().constFirst()));
}

void TEgzamin::LoadTest(const QString& path) {
    Act([&] { logic_->LoadTestFile(path.toStdString()); });
}

void TEgzamin::OfferResume() {
    TExamJournalFile* journal = services_.journal;
    if (!journal)
        return;
    TExamJournal found;
    switch (journal->Read(found)) {
    case TExamJournalFile::TFound::Nothing:
        return;
    case TExamJournalFile::TFound::Damaged:
        journal->SetAside();
        return;
    case TExamJournalFile::TFound::Journal:
        break;
    }
    bool goOn = false;
    if (found.phase != TJournalPhase::Finishing) {
        const TEgzaminLogic::TResumeCheck check = logic_->CheckJournal(found);
        const bool may = MayContinue(check);
        QMessageBox box(may ? QMessageBox::Question : QMessageBox::Information, ApplicationTitle(),
                        QString::fromStdString(ResumeMessage(found, check)), QMessageBox::NoButton,
                        this);
        box.setObjectName(QStringLiteral("ResumeBox"));
        QPushButton* end = nullptr;
        if (may) {
            QPushButton* go = box.addButton(QStringLiteral("&Kontynuuj"), QMessageBox::AcceptRole);
            go->setObjectName(QStringLiteral("Kontynuuj"));
            end = box.addButton(QString::fromUtf8("&Zakończ egzamin"), QMessageBox::RejectRole);
            end->setObjectName(QStringLiteral("Zakoncz"));
            // Enter goes on; closing the box ends nothing.
            box.setDefaultButton(go);
            box.setEscapeButton(go);
        } else {
            box.addButton(QMessageBox::Ok);
        }
        box.exec();
        goOn = may && box.clickedButton() != end;
    }
    Act([&] { logic_->ResumeExam(found, goOn); });
}

void TEgzamin::Act(const std::function<void()>& action) {
    RunGuarded(action);
    Render();
}

void TEgzamin::ShowLockdownNote(const QString& note) {
    Panel6->LockdownNote->setText(note);
    Panel6->LockdownNote->setVisible(!note.isEmpty());
}

void TEgzamin::OpenHelpPage() {
    const QString page = QFileInfo(QString::fromStdString(ProgramDataFolder()) +
                                   QStringLiteral("/help/trelvo2006.html"))
                             .absoluteFilePath();
    const std::string file = QDir::toNativeSeparators(page).toStdString();
    shell_.Open(QUrl::fromLocalFile(page).toString().toStdString(), TShowMode::Maximised,
                [this, file] { messages_.ShowMessage(HelpPageNotOpened(file)); });
}

void TEgzamin::OpenSecondary(QWidget* window) {
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
    setEnabled(false);
}

void TEgzamin::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (onFirstShow_)
        onFirstShow_();
    // After the window is on screen, so that an error box has a window to sit on.
    QTimer::singleShot(0, this, [this] {
        bool stepsDone = false;
        RunGuarded([&] {
            if (firstShowSteps_)
                firstShowSteps_();
            stepsDone = true;
        });
        if (services_.caption.Enabled())
            captionTimer_.start();
        if (stepsDone && !commandLineTest_.isEmpty())
            LoadTest(commandLineTest_);
        Render();
    });
}

// The line goes to the log on the delivery's thread; its answer comes back
// to this one, where the logic takes it and the window shows what it says.
// The delivery ends before this window does, so the answer always finds it.
void TEgzamin::SaveResultLine(const std::string& line, const TAnswerRecord& record,
                              TExamPorts::TSaved done) {
    std::string folder;
    try {
        folder = services_.resultsLog.LocateForResult(line, record);
    } catch (...) {
        done(std::current_exception());
        return;
    }
    services_.delivery.Save(
        folder, line,
        [this, done](int, std::exception_ptr failure) {
            QMetaObject::invokeMethod(
                this,
                [this, done, failure] {
                    Act([&] { done(failure); });
                    if (closeWhenSaved_)
                        close();
                },
                Qt::QueuedConnection);
        },
        record);
}

bool TEgzamin::ConfirmEndingTheExam() {
    QMessageBox box(QMessageBox::Question, ApplicationTitle(),
                    QString::fromUtf8("Zakończyć egzamin? Zostaną ocenione odpowiedzi udzielone do "
                                      "tej pory, a wynik trafi do statystyk."),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("EndExamBox"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TEgzamin::closeEvent(QCloseEvent* event) {
    // At the session's end the exam stays in its journal, offered at the next
    // start as after a crash, and a finished exam's line waits in the journal.
    if (sessionEnding_) {
        Close(event);
        return;
    }
    // A strict exam is not left unseen: confirmed, it ends with what was
    // answered, and the window closes once its line is kept.
    if (logic_->LeavingEndsTheExam()) {
        event->ignore();
        if (ConfirmEndingTheExam()) {
            Act([this] { logic_->EndExamNow(); });
            closeWhenSaved_ = true;
            if (!logic_->SavingResult())
                QTimer::singleShot(0, this, &QWidget::close);
        }
        return;
    }
    // A finished exam's line on its way to the log is waited for: the window
    // closes once it is in, or waits on this computer.
    if (logic_->SavingResult()) {
        closeWhenSaved_ = true;
        event->ignore();
        return;
    }
    logic_->AbandonExam();
    Close(event);
}

void TEgzamin::Close(QCloseEvent* event) {
    // The desktop and the taskbar come back whatever the options say; the
    // stored options stay, so the next start locks again.
    LiftEverything(services_.lockdown);
    Czas.stop();
    Timer1.stop();
    captionTimer_.stop();
    for (QWidget* window : Secondary())
        if (window)
            window->hide();
    QWidget::closeEvent(event);
    event->accept();
}

} // namespace kwizmar
