// Exporting a results log of 100,000 lines to a spreadsheet, against reading
// the same log into its lines as the statistics window does:
//   export_bench
// BM_ReadLog loads the log and decodes every line; BM_ExportCsv and
// BM_ExportXlsx do the same and then write the file the export writes.

#include "ExportFile.h"
#include "LargeLog.h"
#include "ResultsLog.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kLines = 100000;

std::vector<std::string> ReadLog() {
    kwizmar::TResultsLog log;
    log.LoadIntoList();
    return log.lines();
}

void BM_ReadLog(benchmark::State& state) {
    const kwizmar::bench::TLargeLog file(kLines);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadLog());
}
BENCHMARK(BM_ReadLog)->Unit(benchmark::kMillisecond)->UseRealTime();

void Export(benchmark::State& state, const char* name) {
    const kwizmar::bench::TLargeLog file(kLines);
    const kwizmar::TExportTable table;
    for (auto _ : state)
        kwizmar::ExportLogLines(file.Beside(name), ReadLog(), table);
}

void BM_ExportCsv(benchmark::State& state) {
    Export(state, "wyniki.csv");
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportXlsx(benchmark::State& state) {
    Export(state, "wyniki.xlsx");
}
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
