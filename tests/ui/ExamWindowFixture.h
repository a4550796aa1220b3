#pragma once

#include "ProgramFixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace kwizmar::testing {

// The correct letters of the shipped sample test "Geografia Polski", one for
// each of its questions.
constexpr const char* kGeografiaAnswers = "bdcea";
constexpr int kGeografiaQuestions = static_cast<int>(std::string_view(kGeografiaAnswers).size());

class ExamWindowTest : public ProgramTest {
protected:
    // `options` go before the test on the command line.
    void StartOnSample(const QStringList& options = {}) {
        Start(options + QStringList{TEgzamin::TestFolder() + "/geografia.ts2"});
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Button("SpeedButton3")->isVisible(); }));
    }
    // Keys go where the focus is, as they do for a person at the keyboard.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &Window();
        QTest::keyClick(target, key, modifiers);
        QTest::qWait(5);
    }
    void Alt(char letter) {
        Key(static_cast<Qt::Key>(Qt::Key_A + (letter - 'a')), Qt::AltModifier);
        QTest::qWait(150); // the accelerator's click comes a moment later
    }
    bool Shown(const char* name) {
        QWidget* w = Find<QWidget>(name);
        return w && w->isVisible();
    }
    QString FocusName() {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }
    // Lets a sped-up clock run without the pauses of QTest::qWaitFor.
    bool RunClockUntilSummary() {
        QElapsedTimer guard;
        guard.start();
        while (!Shown("Panel4") && guard.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return Shown("Panel4") && ResultSaved();
    }
    // A file of the program's data folder: the log, and the answers' records beside it.
    std::string LogFile(const char* name = "MSStr32.dll") {
        std::ifstream in(dir.path() / "data" / "Kwizmar" / name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // Starts an exam on the sample for `name` by Enter and goes to question
    // `k` (1-based), answering the ones before it right; a form chooser of
    // question k stays up.
    void GoToQuestion(int k, const char* name = "Ala") {
        StartOnSample();
        TypeName(QString::fromUtf8(name));
        Key(Qt::Key_Return);
        AnswerRightUpTo(k - 1);
    }
    // From question 1 of an exam on the sample, answers questions 1 … `last`
    // right by keys, in the test form (taken where the form chooser is up),
    // and confirms each verdict; with `confirmLast` false the last verdict
    // stays on screen (after the last question, the Enter that would finish
    // the exam).
    void AnswerRightUpTo(int last, bool confirmLast = true) {
        for (int k = 1; k <= last; ++k) {
            if (Shown("Panel7")) {
                Alt('t');
                Key(Qt::Key_Return);
            }
            Alt(kGeografiaAnswers[k - 1]);
            Key(Qt::Key_Return); // checks the pick
            if (k < last || confirmLast)
                Key(Qt::Key_Return); // confirms the verdict
        }
    }
    void TypeName(const QString& name) {
        auto* edit = Find<QLineEdit>("NameEdit");
        edit->setFocus();
        // keyClicks knows ASCII only; Polish letters go as the text of a key.
        for (const QChar c : name)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
};

} // namespace kwizmar::testing
