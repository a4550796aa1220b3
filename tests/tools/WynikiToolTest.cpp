#include "WynikiTool.h"

#include "MemoryRegistry.h"
#include "TempDir.h"
#include "TestFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

const std::string kLog = KWIZMAR_SOURCE_DIR "/tests/data/export-small/MSStr32.dll";

struct TRun {
    int status;
    std::string out, err;
};

TRun RunTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    TMemoryRegistry registry;
    const int status = RunWynikiTool(args, out, err, TFakeRegional(), registry);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(WynikiTool, ArgumentErrorsNameTheArgument) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"csv", kLog, "--from", "31.02.2026"},
         "--from „31.02.2026”: to nie jest data; podaj ją jako dd.MM.yyyy albo yyyy-MM-dd"},
        {{"csv", kLog, "--to", "xyz"}, "--to „xyz”: to nie jest data"},
        {{"csv", kLog, "--from", "10.05.2002", "--to", "2002-05-01"}, "jest po --to 01.05.2002"},
        {{"csv", kLog, "--test"}, "--test: brak nazwy testu"},
        {{"csv", kLog, "-x"}, "nieznana opcja „-x”"},
        {{"xlsx", kLog}, "-o PLIK.xlsx"},
    };
    for (const auto& [args, said] : cases) {
        const TRun run = RunTool(args);
        EXPECT_EQ(run.status, 2) << said;
        EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
    }
}

TEST(WynikiTool, ATestTheLogDoesNotHoldWritesNothingAndNamesThoseItHolds) {
    const TTempDir dir;
    const auto sheet = dir.path() / "wyniki.csv";
    const TRun missing = RunTool({"csv", kLog, "--test", "Historia", "-o", sheet.string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nie ma wyników testu „Historia”; są w nim wyniki testów: "
                               "„Geografia Polski”, „Zero”"),
              std::string::npos)
        << missing.err;
    EXPECT_FALSE(std::filesystem::exists(sheet));
    const TRun found = RunTool({"csv", kLog, "--test", "\"Geografia Polski\"", "--from",
                                "2002-05-06", "--to", "06.05.2002"});
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_NE(found.out.find("Zażółć"), std::string::npos) << found.out;
}
