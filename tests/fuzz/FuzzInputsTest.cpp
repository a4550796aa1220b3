// The seeds of every fuzz target, and every input that once broke a reader
// (fuzz/regressions/<target>/), go through the fuzz targets' own entry
// functions: each reader keeps its promises on them.
#include "FuzzEntries.h"

#include "WholeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

namespace kwizmar::fuzz {

void PrintTo(const TFuzzEntry& entry, std::ostream* out) {
    *out << entry.name;
}

namespace {

class FuzzInputs : public ::testing::TestWithParam<TFuzzEntry> {};

TEST_P(FuzzInputs, KeepTheReadersPromises) {
    const std::filesystem::path fuzz = std::filesystem::path(KWIZMAR_SOURCE_DIR) / "fuzz";
    int inputs = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        const std::filesystem::path dir = fuzz / folder / GetParam().name;
        if (!std::filesystem::exists(dir))
            continue;
        for (const auto& file : std::filesystem::directory_iterator(dir)) {
            ++inputs;
            std::string bytes;
            ASSERT_TRUE(ReadWholeFile(file.path(), bytes)) << file.path();
            try {
                GetParam().run(bytes);
            } catch (const std::exception& e) {
                ADD_FAILURE() << file.path() << ": " << e.what();
            }
        }
    }
    EXPECT_GT(inputs, 0) << "no seeds for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzInputs, ::testing::ValuesIn(kFuzzEntries),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kwizmar::fuzz
