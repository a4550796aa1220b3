// How long the statistics window takes to show a large results log: the file
// read, the list filled and the window drawn. Run off screen:
//   QT_QPA_PLATFORM=offscreen statistics_bench

#include "ResultsLog.h"
#include "Statystyka.h"
#include "StatystykaLogic.h"

#include <QApplication>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace kwizmar;

namespace {

// A scratch data folder holding a log of `lines` result lines; the program
// finds it as its own data folder.
class TLargeLog {
public:
    explicit TLargeLog(int lines) {
        root_ = std::filesystem::temp_directory_path() /
                ("kwizmar-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_ / "data" / "Kwizmar");
        std::filesystem::create_directories(root_ / "etc");
        setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (root_ / "etc").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        std::ofstream out(root_ / "data" / "Kwizmar" / TResultsLog::kFileName, std::ios::binary);
        for (int i = 1; i <= lines; ++i)
            out << i
                << ". U\xBFytkownik Jan Kowalski przyst\xB9pi\xB3 do egzaminu \"Geografia Polski\" "
                   "o godzinie 10:15:00 dnia 06.05.2002. Przewidywany czas egzaminu 10min. "
                   "Liczba pyta\xF1 5. Maksymalna liczba punkt\xF3w 9. Egzamin trwa\xB3 3 minut "
                   "i 12 sekund. Zdobyto 9pkt. (100%) a stracono 0pkt. Otrzymana ocena to: "
                   "bardzo dobry.\r\n";
    }
    ~TLargeLog() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

private:
    std::filesystem::path root_;
};

void BM_LoadIntoList(benchmark::State& state) {
    TLargeLog file(int(state.range(0)));
    TResultsLog log;
    for (auto _ : state) {
        log.LoadIntoList();
        benchmark::DoNotOptimize(log.lines().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadIntoList)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ShowStatisticsWindow(benchmark::State& state) {
    TLargeLog file(int(state.range(0)));
    TResultsLog log;
    TStatystyka window(log, [] { return false; });
    for (auto _ : state) {
        window.show();
        QApplication::processEvents();
        window.repaint();
        state.PauseTiming();
        window.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ShowStatisticsWindow)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

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
