// How long opening a large test takes next to merely reading its bytes: the
// loader's whole path (read, descramble, split, validate, fill the test box)
// against a plain read of the same file. BM_LoadTest's counter vs_read is its
// time as a multiple of BM_ReadBytes' time in the same run.
//   test_load_bench

#include "TestFixtures.h"
#include "TestLoader.h"
#include "WholeFile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

constexpr int kQuestions = 10000;

// A test of kQuestions questions with Polish text of the length a real test
// has, about 160 bytes a question (1.5 MB), written once for the whole run.
class TLargeTest {
public:
    TLargeTest() {
        std::vector<std::string> lines = ValidTestLines(kQuestions);
        for (int k = 1; k <= kQuestions; ++k) {
            const std::string n = std::to_string(k);
            lines[static_cast<std::size_t>(QuestionLine(k, 0))] =
                "Pytanie " + n + ": które miasto leży nad Wisłą, a które nad Odrą?";
            for (int a = 1; a <= 5; ++a)
                lines[static_cast<std::size_t>(QuestionLine(k, a))] += " Łódź";
        }
        const std::string bytes = MakeTs2(lines);
        size_ = bytes.size();
        path_ = dir_.Write("duzy.ts2", bytes);
    }
    const std::string& path() const { return path_; }
    std::size_t size() const { return size_; }

private:
    TTempDir dir_;
    std::string path_;
    std::size_t size_ = 0;
};

const TLargeTest& LargeTest() {
    static const TLargeTest test;
    return test;
}

// Seconds per iteration of the last BM_ReadBytes run, for the ratio.
double gReadSeconds = 0;

// Times the loop of `state` running `body`, in seconds per iteration.
template <class F> double TimedLoop(benchmark::State& state, F body) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        body();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return state.iterations() ? elapsed.count() / static_cast<double>(state.iterations()) : 0;
}

void BM_ReadBytes(benchmark::State& state) {
    const TLargeTest& test = LargeTest();
    const std::filesystem::path path(test.path());
    gReadSeconds = TimedLoop(state, [&] {
        std::string bytes;
        ReadWholeFile(path, bytes);
        benchmark::DoNotOptimize(bytes.data());
    });
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(test.size()));
    state.SetLabel(std::to_string(test.size() / 1024) + " KiB");
}
BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond);

void BM_LoadTest(benchmark::State& state) {
    const TLargeTest& test = LargeTest();
    const TFakeRegional regional;
    const TFakeMeasure measure;
    TLoadedTest loaded;
    TTestBoxView box;
    const double seconds = TimedLoop(state, [&] {
        LoadTestFile(test.path(), loaded, box, regional, measure);
        benchmark::DoNotOptimize(loaded);
    });
    if (!loaded.test) {
        state.SkipWithError("the test was rejected");
        return;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(test.size()));
    if (gReadSeconds > 0)
        state.counters["vs_read"] = seconds / gReadSeconds;
}
BENCHMARK(BM_LoadTest)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
