// What one keystroke costs in the test editor on a large test: a letter
// typed into the question's text of a test of range(0) questions, from the
// key to the window showing the new state (checks, list, preview). Goal: at
// most 10 ms of CPU at 1,000 questions. Run off screen:
//   QT_QPA_PLATFORM=offscreen edytor_keystroke_bench

#include "Edytor.h"
#include "Registry.h"
#include "TempDir.h"
#include "TestFixtures.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>


using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

void BM_TypeIntoQuestion(benchmark::State& state) {
    TTempDir dir;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path().string()));
    const std::string path =
        dir.Write("duzy.ts2", MakeTs2(ValidTestLines(static_cast<int>(state.range(0)))));
    TEdytor window(PlatformRegistry());
    window.show();
    window.OpenFile(QString::fromStdString(path));
    QWidget* text = window.findChild<QWidget*>(QStringLiteral("Tresc"));
    text->setFocus();
    QApplication::processEvents();
    for (auto _ : state) {
        QTest::sendKeyEvent(QTest::Click, text, Qt::Key_unknown, QStringLiteral("a"),
                            Qt::NoModifier);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_TypeIntoQuestion)
    ->Arg(10)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

} // namespace
