#pragma once

#include "ProgramFixture.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace kwizmar {
class TEdytor;
}

namespace kwizmar::testing {

// The program's windows other than the exam's, each as the teacher opens it:
// the editor, the options, the statistics on a log of six exams with their
// answers' records (tests/data/answers-small), the class summary and the
// analysis of the questions opened from it, the export's file dialog and the
// about window.
class ProgramWindowsTest : public ProgramTest {
protected:
    ProgramWindowsTest();
    ~ProgramWindowsTest() override;

    static const std::vector<const char*>& WindowNames();
    // Opens the window named so (its object name) and waits until it shows.
    QWidget* Open(const char* name);

    // The controls a user works with in `window`: buttons, fields, lists,
    // drop-down lists; those shown, or also the hidden ones.
    static std::vector<QWidget*> Controls(QWidget* window, bool shownOnly = true);

private:
    std::unique_ptr<TEdytor> editor_;
    std::unique_ptr<QWidget> export_;
};

} // namespace kwizmar::testing
