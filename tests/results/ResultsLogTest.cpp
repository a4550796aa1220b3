#include "ResultsLog.h"

#include "LogScratch.h"

#include <gtest/gtest.h>

#include <random>

using namespace kwizmar;

namespace {

const std::string kResult =
    "Użytkownik Tester przystąpił do egzaminu \"Próbny\" o godzinie 10:15:00 dnia 2002-05-06. "
    "Przewidywany czas egzaminu 10min. Liczba pytań 20. Maksymalna liczba punktów 40. Egzamin "
    "trwał 7 minut i 12 sekund. Zdobyto 30pkt. (75%) a stracono 10pkt. Otrzymana ocena to: "
    "dostatecznie dobry.";

} // namespace

TEST(ResultsLog, FirstFinishCreatesTheLogWithLineOne) {
    TLogScratch scratch;
    TResultsLog log(scratch.Registry());
    EXPECT_EQ(log.AppendResultLine(kResult), 1);
    EXPECT_EQ(log.Directory(), scratch.SysDir().string());
    EXPECT_EQ(log.lines(), std::vector<std::string>{"1. " + kResult});
    // Windows-1250, CR LF after the last line too.
    const std::string bytes = ReadBytes(scratch.Log());
    EXPECT_EQ(bytes.substr(0, 16), "1. U\xBFytkownik Te");
    EXPECT_NE(bytes.find(" trwa\xB3 7 minut"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST(ResultsLog, NumbersByCountNotByTheNumbersInTheFile) {
    TLogScratch scratch;
    WriteBytes(scratch.Log(), "1. a\r\n1. b\r\n7. c\r\n3. d\r\n2. e\r\n");
    TResultsLog log(scratch.Registry());
    EXPECT_EQ(log.AppendResultLine("x"), 6);

    // The statistics window deletes two lines and saves: numbers stay as written.
    log.DeleteLine(0);
    log.DeleteLine(2);
    log.DeleteLine(99);
    log.Save();
    EXPECT_EQ(log.AppendResultLine("y"), 5);
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. b\r\n7. c\r\n2. e\r\n6. x\r\n5. y\r\n");

    log.Clear();
    log.Save();
    EXPECT_EQ(ReadBytes(scratch.Log()), ""); // cleared: an empty file, not none
    EXPECT_EQ(log.AppendResultLine("z"), 1);
}

TEST(ResultsLog, ReadsEveryLineEndAndStopsAtNul) {
    EXPECT_EQ(ParseLog("a\nb\rc\r\nd\r\r\ne"),
              (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(ParseLog(std::string("a\r\nb\0c\r\nd", 10)),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ParseLog("\xA3\xF3"
                                    "d\x9F"),
              std::vector<std::string>{"Łódź"});
    EXPECT_TRUE(ParseLog("").empty());
    EXPECT_EQ(FormatLog({"Łódź", "Ωmega"}), "\xA3\xF3"
                                                         "d\x9F\r\n?mega\r\n");
}

TEST(ResultsLog, LoneLineEndsAndAMissingLastEndAreWrittenBackWithCrLf) {
    TLogScratch scratch;
    WriteBytes(scratch.Log(), "1. a\n2. b\n3. c");
    TResultsLog log(scratch.Registry());
    log.LoadIntoList();
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"1. a", "2. b", "3. c"}));
    log.Save();
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. a\r\n2. b\r\n3. c\r\n");
}

TEST(ResultsLog, EmptyAndMissingLogsBothStartAtOne) {
    TLogScratch scratch;
    TResultsLog log(scratch.Registry());
    log.LoadIntoList();
    EXPECT_TRUE(log.lines().empty());
    EXPECT_FALSE(std::filesystem::exists(scratch.Log())); // reading creates nothing
    WriteBytes(scratch.Log(), "");
    EXPECT_EQ(log.AppendResultLine("a"), 1);
}

TEST(ResultsLog, ALargeLogReadInPiecesGivesTheLinesOfTheWholeFile) {
    // Line ends of every kind, and each kind in turn across the places where
    // a file read in pieces of a power of two bytes is cut.
    std::mt19937 random(2002);
    const char* const ends[] = {"\r\n", "\r", "\n", "\r\r\n", "\n\r"};
    auto log = [&](std::size_t size, std::size_t variant) {
        std::string bytes;
        for (std::size_t cut = 4096; bytes.size() < size; cut *= 2, ++variant) {
            while (bytes.size() + 500 < cut)
                bytes += std::to_string(bytes.size()) + ". \xA3\xF3" +
                         std::string(random() % 400, 'x') + ends[random() % 5];
            bytes += std::string(cut - 1 - bytes.size(), 'y') + ends[variant % 5];
        }
        return bytes;
    };
    TLogScratch scratch;
    TResultsLog results(scratch.Registry());
    // One log after another, larger and smaller, each read into the memory
    // of the one before.
    for (std::size_t variant = 0; variant < 5; ++variant) {
        const std::string bytes = log(variant % 2 ? 1 << 19 : 1 << 21, variant);
        WriteBytes(scratch.Log(), bytes);
        results.LoadIntoList();
        EXPECT_EQ(results.lines(), ParseLog(bytes)) << variant;
    }
    // A NUL ends the text, whichever piece it comes in.
    std::string cut = log(1 << 21, 0);
    const std::size_t whole = ParseLog(cut).size();
    cut[700000] = '\0';
    WriteBytes(scratch.Log(), cut);
    results.LoadIntoList();
    EXPECT_EQ(results.lines(), ParseLog(cut));
    EXPECT_LT(results.LineCount(), whole);
}

TEST(ResultsLog, LocatesAfreshButSavesWhereItLoaded) {
    TLogScratch scratch;
    TResultsLog log(scratch.Registry());
    log.LoadIntoList();
    const auto other = scratch.Root() / "elsewhere";
    std::filesystem::create_directories(other);
    scratch.SetSysDir(other);
    log.Save(); // the statistics window's save: no locating
    EXPECT_TRUE(std::filesystem::exists(scratch.Log()));
    EXPECT_FALSE(std::filesystem::exists(other / "MSStr32.dll"));
    EXPECT_EQ(log.Locate(), (other / "MSStr32.dll").string());
}

TEST(ResultsLog, AFolderInPlaceOfTheLogCannotBeOpened) {
    TLogScratch scratch;
    std::filesystem::create_directories(scratch.Log());
    TResultsLog log(scratch.Registry());
    try {
        log.LoadIntoList();
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + scratch.Log().string());
    }
}
