// The analysis of the questions of 10,000 exams of a test of 40 questions,
// from a results log and its answers' records on the disk, as
// kwizmar-wyniki pytania reads them, against reading the two files alone:
//   question_analysis_bench
// BM_AnalyseQuestions reads both files, takes the log's lines apart, matches
// the records to them and analyses; BM_AnalyseAndWriteCsv also makes the
// CSV text; BM_RawRead reads the bytes of both files.

#include "AnswerRecord.h"
#include "LargeLog.h"
#include "QuestionAnalysisTable.h"
#include "ResultsLogFormat.h"
#include "WholeFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kExams = 10000;
constexpr int kQuestions = 40;

// The log and the records beside it: every exam shows every question, in a
// shuffled order, and answers most of them, better pupils more often right.
class TAnsweredLog {
public:
    TAnsweredLog() : log_(0) {
        std::mt19937 random(2002);
        std::string lines, records;
        std::vector<int> order(kQuestions);
        for (int q = 0; q < kQuestions; ++q)
            order[std::size_t(q)] = q + 1;
        for (int k = 1; k <= kExams; ++k) {
            const int skill = int(random() % 100);
            kwizmar::TAnswerRecord r;
            r.line = k;
            r.testName = "Geografia Polski";
            r.testHash = 0x0123456789abcdefULL;
            r.questionCount = kQuestions;
            std::shuffle(order.begin(), order.end(), random);
            std::int64_t gained = 0;
            for (int q : order) {
                kwizmar::TAnswerEntry e;
                e.question = q;
                e.key = char('A' + q % 5);
                e.start = "Pytanie numer " + std::to_string(q) +
                          ": które z miast leży najbliżej ujścia Wisły?";
                if (random() % 10 != 0)
                    e.chosen = int(random() % 100) < skill ? e.key : char('A' + random() % 5);
                e.gained = e.Right() ? 1 : 0;
                e.lost = 1 - e.gained;
                gained += e.gained;
                r.entries.push_back(std::move(e));
            }
            const std::string text =
                "Użytkownik Uczeń " + std::to_string(k) +
                " przystąpił do egzaminu \"Geografia Polski\" o godzinie 10:15:00 dnia "
                "06.05.2002. Przewidywany czas egzaminu 45min. Liczba pytań 40. Maksymalna liczba "
                "punktów 40. Egzamin trwał 30 minut i 12 sekund. Zdobyto " +
                std::to_string(gained) + "pkt. (" + std::to_string(gained * 100 / 40) +
                "%) a stracono " + std::to_string(40 - gained) + "pkt. Otrzymana ocena to: dobry.";
            r.lineStart = kwizmar::LineStartText(text);
            lines += kwizmar::EncodeLogLine(std::to_string(k) + ". " + text) + "\r\n";
            records += kwizmar::FormatAnswerRecord(r) + "\r\n";
        }
        std::ofstream(log_.Path(), std::ios::binary) << lines;
        std::ofstream(Records(), std::ios::binary) << records;
    }
    std::filesystem::path Log() const { return log_.Path(); }
    std::filesystem::path Records() const { return kwizmar::AnswerRecordsPath(log_.Path()); }

private:
    kwizmar::bench::TLargeLog log_;
};

kwizmar::TQuestionAnalysis Analyse(const TAnsweredLog& files) {
    std::string log, records;
    kwizmar::ReadWholeFile(files.Log(), log);
    kwizmar::ReadWholeFile(files.Records(), records);
    std::vector<kwizmar::TResultLine> lines;
    for (const std::string& line : kwizmar::ParseLog(log))
        lines.push_back(kwizmar::ParseResultLine(line));
    return kwizmar::AnalyseQuestions(lines, records, kwizmar::TExportTable());
}

void BM_AnalyseQuestions(benchmark::State& state) {
    const TAnsweredLog files;
    for (auto _ : state)
        benchmark::DoNotOptimize(Analyse(files));
}
BENCHMARK(BM_AnalyseQuestions)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AnalyseAndWriteCsv(benchmark::State& state) {
    const TAnsweredLog files;
    for (auto _ : state)
        benchmark::DoNotOptimize(kwizmar::AnalysisCsv(Analyse(files)));
}
BENCHMARK(BM_AnalyseAndWriteCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawRead(benchmark::State& state) {
    const TAnsweredLog files;
    for (auto _ : state)
        benchmark::DoNotOptimize(kwizmar::bench::RawRead(files.Log()) +
                                 kwizmar::bench::RawRead(files.Records()));
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
