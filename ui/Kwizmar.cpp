#include "Kwizmar.h"

#include "About.h"
#include "CommandLineInfo.h"
#include "Egzamin.h"
#include "ErrorHandler.h"
#include "Folders.h"
#include "LabSettings.h"
#include "Lockdown.h"
#include "Opcje.h"
#include "Paths.h"
#include "PendingResults.h"
#include "Platform.h"
#include "Splash.h"
#include "Statystyka.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <exception>
#include <filesystem>

namespace kwizmar {

namespace {

// The command line as main() has checked it; what it can't read counts as
// nothing asked for.
TExamArguments ReadArguments(const QStringList& arguments) {
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        args.push_back(arguments.at(i).toStdString());
    const auto read = ReadExamArguments(args);
    const auto* good = std::get_if<TExamArguments>(&read);
    return good ? *good : TExamArguments{};
}

} // namespace

TKwizmar::TKwizmar(const QStringList& arguments)
    : splash_(std::make_unique<TSplash>()), registry_(PlatformRegistry()),
      settings_(registry_, ProgramFilePath()), resultsLog_(registry_),
      delivery_(std::make_unique<TResultDelivery>()) {
    const TExamArguments asked = ReadArguments(arguments);
    // A trial run of the test editor keeps its results in the trial folder,
    // and no journal: a crash of a trial is not an exam to resume, and a
    // pupil's exam cut short on this computer must not finish as a trial.
    const bool trial = asked.trial && !TrialFolder().empty();
    if (trial) {
        // The editor makes it for its copy of the test; a trial of a saved
        // test may come first.
        std::error_code ignored;
        std::filesystem::create_directories(PathFromUtf8(TrialFolder()), ignored);
        resultsLog_.KeepIn(TrialFolder());
        TPendingResults::KeepIn(TrialFolder());
    }
    // The toolkit's own pictures (message boxes, the file dialog) come built
    // in. Looked up in the desktop's icon themes instead (the program's own
    // file-type icon makes a hicolor theme appear in the user's data folder),
    // every picture costs thousands of file look-ups.
    QIcon::setThemeName(QString());
    if (asked.results) {
        ShowResultsAlone();
        return;
    }

    // The splash is painted at once: the event loop doesn't run yet.
    splash_->show();
    splash_->repaint();
    QApplication::processEvents();

    SetApplicationTitle(QString::fromUtf8(kApplicationTitle));
    settings_.Options.AttachCaption(&caption_);
    lockdown_ = MakeScreenLockdown(PlatformLockdown());
    settings_.Options.AttachLockdown(lockdown_.get());

    main_ = std::make_unique<TEgzamin>(
        TEgzaminServices{settings_, resultsLog_, *delivery_, *lockdown_, caption_,
                         [this] { return options_->Get(TOption::Odp); },
                         // The editor's trial shows the test as it is written.
                         [this, trial] {
                             return trial ? TShuffle{}
                                          : TShuffle{options_->Get(TOption::ShuffleQuestions),
                                                     options_->Get(TOption::ShuffleAnswers)};
                         },
                         trial ? nullptr : &journal_, ReadLabRules(PlatformRegistry()), trial});
    // The options window's controls are the live option states: the exam and
    // the statistics ask them each time.
    statistics_ = std::make_unique<TStatystyka>(
        resultsLog_, [this] { return options_->Get(TOption::Statystyki); });
    options_ = std::make_unique<Topcje>(settings_.Options);
    about_ = std::make_unique<TF_About>();
    main_->SetSecondaryWindows(statistics_.get(), options_.get(), about_.get());
    lockdown_->AttachMainWindow(main_.get());
    // What the lockdown can't do here: under the options' boxes, and on the
    // start page while a lockdown is asked for, so that a pupil and a teacher
    // who never open the options see it before the exam.
    const auto tell = [this] {
        const QString note = lockdown_->Note();
        options_->ShowLockdownNote(note);
        const bool asked = settings_.Options.Get(TOption::DesktopEnabled) ||
                           settings_.Options.Get(TOption::TaskBarEnabled);
        main_->ShowLockdownNote(asked && !note.isEmpty()
                                    ? QString::fromUtf8("Blokada pulpitu nie działa w pełni: ") +
                                          note.left(1).toLower() + note.mid(1)
                                    : QString());
    };
    tell();
    lockdown_->OnNoteChanged = tell;
    settings_.Options.OnChanged = [tell](TOption option, bool) {
        if (option == TOption::DesktopEnabled || option == TOption::TaskBarEnabled)
            tell();
    };

    main_->SetOnFirstShow([this] {
        splash_.reset();
        // A settings file found unreadable or read-only later in the run
        // (an option clicked, an exam started) is told as soon as it is found.
        SetAfterGuardedActions([this] { ShowSettingsNotices(); });
    });
    // Results an earlier run left waiting go in before anything else, on the
    // delivery's own thread, while the window comes up.
    WatchWaitingResults();
    main_->SetFirstShowSteps([this] {
        // The stored options first, so that a lockdown stands before the
        // question about an exam cut short, which comes before anything else.
        std::exception_ptr optionsError;
        try {
            settings_.ApplyStoredOptions(*options_);
        } catch (...) {
            optionsError = std::current_exception();
        }
        main_->OfferResume();
        ShowSettingsNotices();
        if (optionsError)
            std::rethrow_exception(optionsError);
        settings_.RegisterTestFileType();
    });
    if (!asked.test.empty())
        main_->SetCommandLineTest(QString::fromStdString(asked.test));
}

TKwizmar::~TKwizmar() {
    delivery_.reset();
    TPendingResults::KeepIn({}); // a trial's own folder ends with it
    SetAfterGuardedActions(nullptr);
}

void TKwizmar::WatchWaitingResults() {
    try {
        resultsLog_.Locate();
    } catch (const EPlatformError&) {
        return; // a log that can't be found takes them at the next finish
    }
    delivery_->Watch(resultsLog_.Directory(), [this] {
        QMetaObject::invokeMethod(
            statistics_.get(), [this] { statistics_->ShowWaiting(); }, Qt::QueuedConnection);
    });
}

void TKwizmar::ShowResultsAlone() {
    // No exam, no splash, no start counted: the teacher looks at the results.
    // The statistics lock is the one the options would set (the lab's first).
    splash_.reset();
    statistics_ = std::make_unique<TStatystyka>(
        resultsLog_, [this] { return settings_.StoredOption(TOption::Statystyki); });
    try {
        resultsLog_.Locate();
    } catch (const std::exception&) {
        // The window's load tells what is wrong with the log.
    }
    statistics_->ShowAlone(QString::fromStdString(resultsLog_.Path()));
    WatchWaitingResults();
}

void TKwizmar::Show() {
    if (main_)
        main_->show();
    else
        statistics_->show();
}

// A settings file found damaged, unreadable or read-only while the main window
// was made has been set aside or kept in memory by now; its user hears of it
// once, over the main window.
void TKwizmar::ShowSettingsNotices() {
    for (const std::string& notice : settings_.TakeNotices()) {
        QMessageBox box(QMessageBox::Warning, ApplicationTitle(), QString::fromStdString(notice),
                        QMessageBox::Ok, main_.get());
        box.setObjectName(QStringLiteral("MessageBox"));
        box.exec();
    }
}

} // namespace kwizmar
