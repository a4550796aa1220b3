// The whole program, started as main() starts it, with a pupil who answers
// by a script instead of by hand; the resume tests kill it with SIGKILL.
//
//   exam_pupil TEST.ts2 DONE-FILE STEP...
//
// Steps, each acting on the real buttons: "t" the test form, "s" the typed
// form, "w:TEXT" typing TEXT, "k" checking the typed answer, "a" … "e" picking
// and checking an answer, "n" the next question. The pupil's name is "Uczeń".
// When every step is done the file DONE-FILE is made; the program then
// waits, holding its exam, until it is killed (or for a minute at most).
#include "Kwizmar.h"

#include "Egzamin.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <fstream>

#include <csignal>
#include <sys/prctl.h>

namespace {

bool Click(QWidget& window, const QString& name) {
    auto* button = window.findChild<QAbstractButton*>(name);
    if (!button || !QTest::qWaitFor([&] { return button->isVisible() && button->isEnabled(); }))
        return false;
    button->click();
    return true;
}

void Type(QWidget& window, const char* name, const QString& text) {
    auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    edit->setFocus();
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

bool Step(QWidget& window, const QString& step) {
    if (step == "t" || step == "s")
        return Click(window, step == "t" ? "RBTest" : "RBSam") && Click(window, "SpeedButton7");
    if (step.startsWith("w:")) {
        Type(window, "SamEdit", step.mid(2));
        return true;
    }
    if (step == "k")
        return Click(window, "SpeedButton12");
    if (step == "n")
        return Click(window, "SpeedButton8");
    return Click(window, step.toUpper()) && Click(window, "SpeedButton6");
}

} // namespace

int main(int argc, char* argv[]) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlives the test
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3)
        return 2;
    kwizmar::TKwizmar program({QStringLiteral("kwizmar"), args.at(1)});
    program.Show();
    QWidget& window = program.MainWindow();
    QTimer::singleShot(0, &window, [&] {
        auto* start = window.findChild<QAbstractButton*>("SpeedButton3");
        if (!QTest::qWaitFor([&] { return start->isVisible() && start->isEnabled(); }, 10000)) {
            QCoreApplication::exit(3);
            return;
        }
        Type(window, "NameEdit", QString::fromUtf8("Uczeń"));
        start->click();
        for (int i = 3; i < args.size(); ++i)
            if (!Step(window, args.at(i))) {
                QCoreApplication::exit(4);
                return;
            }
        std::ofstream(args.at(2).toStdString()) << "done\n";
        QTimer::singleShot(60000, [] { QCoreApplication::exit(5); });
    });
    return QApplication::exec();
}
