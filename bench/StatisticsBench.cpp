// How long the statistics window takes to show a large results log: until its
// list is ready to be drawn (the file read, the list laid out), and drawn as
// well; against the plain read of the same file. Run off screen:
//   QT_QPA_PLATFORM=offscreen statistics_bench

#include "LargeLog.h"
#include "ResultsLog.h"
#include "Statystyka.h"
#include "StatystykaLogic.h"

#include <QApplication>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace kwizmar;
using namespace kwizmar::bench;

namespace {

void BM_LoadIntoList(benchmark::State& state) {
    TLargeLog file(int(state.range(0)));
    TResultsLog log;
    for (auto _ : state) {
        log.LoadIntoList();
        benchmark::DoNotOptimize(log.LineCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadIntoList)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RawRead(benchmark::State& state) {
    TLargeLog file(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(RawRead(file.Path()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RawRead)->Arg(100000)->Unit(benchmark::kMillisecond);

// The window shown on a log of range(0) lines: until the list is ready to be
// drawn (the log loaded, the list laid out), or drawn as well.
void BM_ShowStatisticsWindow(benchmark::State& state, bool drawn) {
    TLargeLog file(int(state.range(0)));
    TResultsLog log;
    TStatystyka window(log, [] { return false; });
    for (auto _ : state) {
        window.show();
        if (drawn) {
            QApplication::processEvents();
            window.repaint();
        }
        state.PauseTiming();
        QApplication::processEvents();
        window.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK_CAPTURE(BM_ShowStatisticsWindow, ready, false)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShowStatisticsWindow, drawn, true)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
