#include "ProgramWindows.h"

#include "About.h"
#include "Edytor.h"
#include "ExportDialog.h"
#include "Opcje.h"
#include "Registry.h"
#include "Statystyka.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

#include <filesystem>

namespace kwizmar::testing {

ProgramWindowsTest::ProgramWindowsTest() {
    const std::filesystem::path log = dir.path() / "data" / "Kwizmar";
    std::filesystem::create_directories(log);
    const std::filesystem::path data = KWIZMAR_SOURCE_DIR "/tests/data/answers-small";
    for (const char* file : {"MSStr32.dll", "odpowiedzi-egzaminow.txt"})
        std::filesystem::copy_file(data / file, log / file);
    Start();
}

ProgramWindowsTest::~ProgramWindowsTest() {
    export_.reset();
    editor_.reset();
}

const std::vector<const char*>& ProgramWindowsTest::WindowNames() {
    static const std::vector<const char*> names = {
        "Edytor",       "Topcje",  "TStatystyka", "TClassSummaryWindow", "TQuestionAnalysisWindow",
        "ExportDialog", "TF_About"};
    return names;
}

QWidget* ProgramWindowsTest::Open(const char* name) {
    const QString wanted = QString::fromLatin1(name);
    QWidget* window = nullptr;
    TStatystyka& statistics = program->Statistics();
    auto fromStatistics = [&](const char* button) {
        statistics.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&statistics));
        statistics.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
        return statistics.findChild<QWidget*>(wanted);
    };
    if (wanted == "Edytor") {
        editor_ = std::make_unique<TEdytor>(PlatformRegistry());
        window = editor_.get();
    } else if (wanted == "Topcje") {
        window = &program->Options();
    } else if (wanted == "TStatystyka") {
        window = &statistics;
    } else if (wanted == "TClassSummaryWindow") {
        window = fromStatistics("SpeedButton7");
    } else if (wanted == "TQuestionAnalysisWindow") {
        window = fromStatistics("SpeedButton8");
    } else if (wanted == "ExportDialog") {
        export_ = std::make_unique<TExportDialog>(nullptr);
        window = export_.get();
    } else if (wanted == "TF_About") {
        window = &program->About();
    }
    if (!window)
        return nullptr;
    if (editor_ && window == editor_.get())
        editor_->ShowOnScreen();
    else
        window->show();
    window->raise();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window)) << name;
    EXPECT_TRUE(QTest::qWaitForWindowActive(window)) << name;
    return window;
}

std::vector<QWidget*> ProgramWindowsTest::Controls(QWidget* window, bool shownOnly) {
    std::vector<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || (shownOnly && !w->isVisibleTo(window)))
            continue;
        // A spin box's or a drop-down list's own line is part of it.
        if (qobject_cast<QLineEdit*>(w) && (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
                                            qobject_cast<QComboBox*>(w->parentWidget())))
            continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
            (qobject_cast<QAbstractItemView*>(w) && !qobject_cast<QHeaderView*>(w)) ||
            qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
            qobject_cast<QTextEdit*>(w))
            controls.push_back(w);
    }
    return controls;
}

} // namespace kwizmar::testing
