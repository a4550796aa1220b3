#pragma once

#include "ExamJournal.h"
#include "ResultDelivery.h"
#include "ResultsLog.h"
#include "ScreenLockdown.h"
#include "ScrollingCaption.h"
#include "Settings.h"

#include <QStringList>

#include <memory>

namespace kwizmar {

class TEgzamin;
class TF_About;
class TSplash;
class TStatystyka;
class Topcje;

// The program as a whole: its start-up in a fixed order, its windows and the
// parts they share. Construct it after the QApplication.
class TKwizmar {
public:
    // `arguments` as the command line gives them (ReadExamArguments): a test
    // file to load once the main window shows, a trial, or the results alone
    // ("--wyniki": the statistics window with no main window).
    explicit TKwizmar(const QStringList& arguments);
    ~TKwizmar();

    // Shows the main window; the event loop does the rest.
    void Show();

    // With the results alone ("--wyniki") there is no main window.
    bool ResultsAlone() const { return !main_; }
    TEgzamin& MainWindow() { return *main_; }
    TSplash* Splash() { return splash_.get(); }
    TSettings& Settings() { return settings_; }
    TStatystyka& Statistics() { return *statistics_; }
    Topcje& Options() { return *options_; }
    TF_About& About() { return *about_; }

private:
    void ShowSettingsNotices();
    void ShowResultsAlone();
    void WatchWaitingResults();

    std::unique_ptr<TSplash> splash_;
    IRegistry& registry_;
    TScrollingCaption caption_;
    TSettings settings_;
    TResultsLog resultsLog_;
    // Ended first of all (the destructor), so that its answers find the
    // windows still there.
    std::unique_ptr<TResultDelivery> delivery_;
    TExamJournalFile journal_;
    // Before the windows: closing the main window lifts it.
    std::unique_ptr<IScreenLockdown> lockdown_;
    std::unique_ptr<TEgzamin> main_;
    std::unique_ptr<TStatystyka> statistics_;
    std::unique_ptr<Topcje> options_;
    std::unique_ptr<TF_About> about_;
};

} // namespace kwizmar
