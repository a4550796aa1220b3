// How much of a core the program takes while a pupil thinks: the exam page
// on screen with its banner moving and its clock running, nothing pressed.
// Run on an X display (or QT_QPA_PLATFORM=offscreen, which draws less):
//
//     Xvfb :90 & DISPLAY=:90 build/bin/idle_exam_bench [seconds] [still]
//
// With "still" the title doesn't scroll (the option is off), so the banner and
// the clock are measured alone.
// The program starts as main() starts it, on settings of its own and the
// sample test; after the start of an exam the process's CPU time over
// `seconds` (60 by default) is reported as a share of one core.
#include "Egzamin.h"
#include "Kwizmar.h"
#include "QtPolish.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace kwizmar;

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Lets the program run as the event loop runs it, sleeping between events.
void RunEvents(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[]) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    char pattern[] = "/tmp/kwizmar-bench-XXXXXX";
    const std::filesystem::path home = mkdtemp(pattern);
    for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS"})
        setenv(v, (home / v).c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    if (argc > 2 && std::string(argv[2]) == "still") {
        std::filesystem::create_directories(home / "XDG_CONFIG_HOME/Nerbaly");
        std::ofstream(home / "XDG_CONFIG_HOME/Nerbaly/Kwizmar.reg")
            << "Windows Registry Editor Version 5.00\n\n"
               "[HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar]\n\"Scroll\"=dword:00000000\n";
    }

    QApplication app(argc, argv);
    SpeakPolish();
    const QString test = QCoreApplication::applicationDirPath() + "/Testy/geografia.ts2";
    TKwizmar program({QCoreApplication::applicationFilePath(), test});
    program.Show();
    RunEvents(1000); // the first showing: splash gone, test loaded

    TEgzamin& window = program.MainWindow();
    auto* name = window.findChild<QLineEdit*>(QStringLiteral("NameEdit"));
    name->setText(QStringLiteral("Ola"));
    emit name->textEdited(name->text());
    window.findChild<QAbstractButton*>(QStringLiteral("SpeedButton3"))->click();
    RunEvents(1000);

    const double before = CpuSeconds();
    RunEvents(seconds * 1000);
    const double used = CpuSeconds() - before;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("idle exam page over %d s: %.3f s of CPU, %.2f %% of a core; peak memory %ld KiB\n",
                seconds, used, 100.0 * used / seconds, usage.ru_maxrss);
    std::filesystem::remove_all(home);
    return 0;
}
