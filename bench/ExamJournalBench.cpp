// What one step of an exam pays for its journal: the journal of an exam at
// question 40 of 40 written as the exam writes it (whole, to a temporary
// file, flushed, renamed over the old one), against the same bytes written
// and flushed by plain system calls. Run it in a folder on the disk the
// user's data folder is on (a tmpfs flushes nothing):
//   cd build && bin/exam_journal_bench

#include "ExamJournal.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

kwizmar::TExamJournal LateInTheExam() {
    kwizmar::TExamJournal j;
    j.testPath = "/home/uczen/Testy/geografia.ts2";
    j.testName = "\"Geografia Polski\"";
    j.userName = "Jan Kowalski";
    j.minutesAllowed = 60;
    j.startedAt = 1020680100;
    j.deadline = j.startedAt + 3600;
    j.secondsLeft = 1200;
    j.headerText = "***     Użytkownik Jan Kowalski przystąpił do egzaminu \"Geografia Polski\" o "
                   "godzinie 10:15:00 dnia 06.05.2002. Przewidywany czas egzaminu 60min. Liczba "
                   "pytań 40. Maksymalna liczba punktów 80";
    j.questionCountText = "40";
    j.maxPointsText = "80";
    j.questionNumber = 40;
    for (int k = 1; k <= 40; ++k)
        j.outcomes.push_back({k, k % 3 ? 'R' : 'W', 2});
    j.phase = kwizmar::TJournalPhase::Verdict;
    j.correctAnswerText = "Wisła";
    j.feedback = {"", "Gratuluję Jan Kowalski", "poprawna odpwiedź", ""};
    return j;
}

struct TFolder {
    TFolder() {
        std::string pattern = (std::filesystem::current_path() / "journal-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TFolder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

void BM_JournalWrite(benchmark::State& state) {
    const TFolder folder;
    kwizmar::TExamJournalFile journal(folder.path / kwizmar::TExamJournalFile::kFileName);
    kwizmar::TExamJournal j = LateInTheExam();
    for (auto _ : state) {
        ++j.pointsGained;
        journal.Write(j);
    }
    state.counters["bytes"] = double(kwizmar::FormatJournal(j).size());
}
BENCHMARK(BM_JournalWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainFlushedWrite(benchmark::State& state) {
    const TFolder folder;
    const std::string bytes = kwizmar::FormatJournal(LateInTheExam());
    const std::string file = (folder.path / "plain").string();
    for (auto _ : state) {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::fsync(fd);
        ::close(fd);
    }
}
BENCHMARK(BM_PlainFlushedWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JournalFormat(benchmark::State& state) {
    const kwizmar::TExamJournal j = LateInTheExam();
    for (auto _ : state)
        benchmark::DoNotOptimize(kwizmar::FormatJournal(j));
}
BENCHMARK(BM_JournalFormat)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
