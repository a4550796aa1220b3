// How long the statistics window takes to show a large results log: until its
// list is ready to be drawn (the file read, the list laid out), and drawn as
// well; against the plain read of the same file. And its printout: the page
// layout of one long line as it grows (its time should grow as the line does)
// and of a log of 100,000 lines, and that log printed to a PDF file. Run off screen:
//   QT_QPA_PLATFORM=offscreen statistics_bench

#include "LargeLog.h"
#include "PrintLayout.h"
#include "ResultsLog.h"
#include "Statystyka.h"
#include "StatystykaLogic.h"

#include <QApplication>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFontMetricsF>

#include <cmath>
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

// Widths in the printer's units, as the window measures them for a printout.
class TPrinterMeasure final : public ITextMeasure {
public:
    explicit TPrinterMeasure(QPrinter& printer) : metrics_(PrintFont(), &printer) {}
    int TextWidth(std::string_view utf8, const TFontSpec&) const override {
        return int(std::ceil(
            metrics_.horizontalAdvance(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())))));
    }
    static QFont PrintFont() {
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPointSize(8);
        return font;
    }

private:
    QFontMetricsF metrics_;
};

QString ScratchPdf() {
    return QDir::temp().filePath(
        QStringLiteral("kwizmar-bench-%1.pdf").arg(QCoreApplication::applicationPid()));
}

// One list line of range(0) characters laid out on A4 pages.
void BM_PrintLayoutLongLine(benchmark::State& state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(ScratchPdf());
    const TPrinterMeasure measure(printer);
    std::string line;
    while (line.size() < std::size_t(state.range(0)))
        line += "Użytkownik Jan zdał egzamin na ocenę dobry. ";
    line.resize(std::size_t(state.range(0)));
    const int lineHeight = QFontMetrics(TPrinterMeasure::PrintFont(), &printer).height();
    for (auto _ : state)
        benchmark::DoNotOptimize(PrintLayout(std::vector<std::string>{line}, measure,
                                             TStatystykaLogic::ListFont(), printer.width(),
                                             printer.height(), lineHeight));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PrintLayoutLongLine)
    ->RangeMultiplier(2)
    ->Range(8 << 10, 64 << 10)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

// The page layout of a log of range(0) lines of about 300 bytes (three
// printed lines each), in the printer's units.
void BM_PrintLayoutLog(benchmark::State& state) {
    TLargeLog file(int(state.range(0)));
    TResultsLog log;
    log.LoadIntoList();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(ScratchPdf());
    const TPrinterMeasure measure(printer);
    const int lineHeight = QFontMetrics(TPrinterMeasure::PrintFont(), &printer).height();
    std::size_t pages = 0;
    for (auto _ : state)
        pages = PrintLayout(log.lines(), measure, TStatystykaLogic::ListFont(), printer.width(),
                            printer.height(), lineHeight)
                    .size();
    state.counters["pages"] = double(pages);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PrintLayoutLog)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The window's printout of a log of range(0) lines into a PDF file, progress
// window and all.
void BM_PrintToPdf(benchmark::State& state) {
    TLargeLog file(int(state.range(0)));
    TResultsLog log;
    TStatystyka window(log, [] { return false; });
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(ScratchPdf());
        benchmark::DoNotOptimize(window.Print(printer));
    }
    QFile::remove(ScratchPdf());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PrintToPdf)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
