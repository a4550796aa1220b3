// How long the finish of an exam takes to put its result into a large results
// log, against a safe copy of that log (read, written anew, flushed, renamed),
// at 10,000, 100,000 and 1,000,000 lines of about 300 bytes:
//   results_log_bench

#include "LargeLog.h"
#include "ResultsLog.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The result of one more exam, as the finish hands it over.
const std::string kResult =
    "Użytkownik Jan Kowalski przystąpił do egzaminu \"Geografia Polski\" o godzinie 10:15:00 "
    "dnia 06.05.2002. Przewidywany czas egzaminu 10min. Liczba pytań 5. Maksymalna liczba "
    "punktów 9. Egzamin trwał 3 minut i 12 sekund. Zdobyto 9pkt. (100%) a stracono 0pkt. "
    "Otrzymana ocena to: bardzo dobry.";

void BM_AppendResultLine(benchmark::State& state) {
    const kwizmar::bench::TLargeLog file(int(state.range(0)));
    kwizmar::TResultsLog log;
    for (auto _ : state)
        benchmark::DoNotOptimize(log.AppendResultLine(kResult));
}
BENCHMARK(BM_AppendResultLine)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_RawCopy(benchmark::State& state) {
    const kwizmar::bench::TLargeLog file(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kwizmar::bench::RawCopy(file.Path(), file.Beside("copy")));
}
BENCHMARK(BM_RawCopy)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
