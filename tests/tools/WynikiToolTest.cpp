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
        {{"pytania", kLog, "--from", "1.13.2026"}, "--from „1.13.2026”: to nie jest data"},
        {{"pytanie", kLog}, "nieznane polecenie „pytanie”: csv, xlsx albo pytania"},
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

// "pytania": the analysis of the questions as CSV on the output, the exams
// without records told on the error output; a test the log lacks fails.
TEST(WynikiTool, QuestionsOfTheAnswersBesideTheLog) {
    const std::string log = KWIZMAR_SOURCE_DIR "/tests/data/answers-small/MSStr32.dll";
    const TRun run = RunTool({"pytania", log, "--test", "Historia"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("kwizmar-wyniki: brak danych o pytaniach dla 1 egzaminu"),
              std::string::npos)
        << run.err;
    for (const char* row : {"\"Analiza pytań: Historia\"\r\n", "\"KR-20\";-0,31\r\n",
                            "\"Historia\";1;\"Kiedy odbył się chrzest Polski?\";5;\"A\";100,0;0,50;"
                            "5;0;0;0;0;0;0;\"za łatwe\"\r\n",
                            "\"Historia\";4;\"Jak nazywał się ostatni król Polski?\";5;\"D\";40,0;"
                            "1,00;0;0;0;1;2;3;1;\r\n"})
        EXPECT_NE(run.out.find(row), std::string::npos) << row << "\n" << run.out;
    EXPECT_EQ(run.out.find("Biologia"), std::string::npos);
    const TRun missing = RunTool({"pytania", log, "--test", "Chemia"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nie ma wyników testu „Chemia”"), std::string::npos);
}
