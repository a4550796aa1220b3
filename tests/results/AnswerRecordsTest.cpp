// The answers' records beside the log: each goes in with its line, once,
// waits with it, and goes with it when the statistics window deletes it.
#include "AnswerRecordsFile.h"
#include "PendingResults.h"
#include "ResultsLog.h"
#include "ResultsLogFormat.h"

#include "LogScratch.h"

#include <gtest/gtest.h>

using namespace kwizmar;

namespace {

std::string Text(const std::string& who) {
    return "Użytkownik " + who +
           " przystąpił do egzaminu \"Próbny\" o godzinie 10:15:00 dnia 2002-05-06. Przewidywany "
           "czas egzaminu 10min. Egzamin trwał 1 minut i 2 sekund. Zdobyto 2pkt. (50%) a "
           "stracono 2pkt. Otrzymana ocena to: dopuszczający.";
}

const TAnswerRecord kAnswers = {0,
                                "",
                                "\"Próbny\"",
                                0x1234,
                                2,
                                {{1, 'B', "Ile?", 'B', false, false, "", 2, 0},
                                 {2, 'C', "Gdzie?", 'A', true, false, "tu", 0, 2}}};

std::string RecordsOf(const TLogScratch& scratch) {
    return ReadBytes(scratch.SysDir() / kAnswerRecordsFileName);
}

std::string Line(int number, const std::string& who) {
    return FormatAnswerRecord(RecordOfLine(kAnswers, number, Text(who))) + "\r\n";
}

} // namespace

TEST(AnswerRecords, EachFinishAddsItsRecordNamingItsLineAfterARecordCutShort) {
    TLogScratch scratch;
    WriteBytes(scratch.SysDir() / kAnswerRecordsFileName, "O1\t9\tx");
    TResultsLog log(scratch.Registry());
    EXPECT_EQ(log.AppendResultLine(Text("Ala"), kAnswers), 1);
    EXPECT_EQ(log.AppendResultLine(Text("Ola")), 2); // a finish with no record
    EXPECT_EQ(log.AppendResultLine(Text("Żaneta ñ"), kAnswers), 3);
    EXPECT_EQ(RecordsOf(scratch), "O1\t9\tx\r\n" + Line(1, "Ala") + Line(3, "Żaneta ñ"));
    // Named as the log keeps the line: a letter the code page lacks is "?".
    EXPECT_NE(RecordsOf(scratch).find("\t3\tUżytkownik Żaneta ?"), std::string::npos);
}

TEST(AnswerRecords, ARecordWaitsWithItsLineAndGoesInWithIt) {
    TLogScratch scratch;
    const std::filesystem::path folder = scratch.Root() / "serwer";
    // A folder in the log's place: the share is there, its log can't be
    // written (Windows, unlike Linux, takes no log folder that isn't there).
    std::filesystem::create_directories(folder / "MSStr32.dll");
    scratch.SetSysDir(folder);
    TResultsLog log(scratch.Registry());
    EXPECT_THROW(log.AppendResultLine(Text("Ala"), kAnswers), EResultWaits);
    EXPECT_EQ(TPendingRecords::Count(), 1u);

    std::filesystem::remove(folder / "MSStr32.dll");
    WriteBytes(folder / "MSStr32.dll", "1. wcześniej\r\n");
    EXPECT_EQ(TResultsLogFile(folder.string()).DeliverWaiting(), 1u);
    EXPECT_EQ(ReadBytes(folder / kAnswerRecordsFileName), Line(2, "Ala"));
    EXPECT_EQ(TPendingRecords::Count(), 0u);
}

TEST(AnswerRecords, ARecordACrashKeptFromItsLineGoesInOnceAndOneWithoutALineGoes) {
    TLogScratch scratch;
    TResultsLog log(scratch.Registry());
    log.AppendResultLine(Text("Ala")); // the program died before the record
    const TResultsLogFile file(scratch.SysDir().string());
    for (int restart = 0; restart < 2; ++restart) {
        TResultsLog::KeepRecord(Text("Ala"), kAnswers);
        TResultsLog::KeepRecord(Text("Ala"), kAnswers);
        TResultsLog::KeepRecord(Text("Nikt"), kAnswers); // its line was deleted meanwhile
        EXPECT_EQ(file.DeliverWaiting(), 0u);
        EXPECT_EQ(RecordsOf(scratch), Line(1, "Ala"));
        EXPECT_EQ(TPendingRecords::Count(), 0u);
    }
}

TEST(AnswerRecords, TheStatisticsSaveTakesTheRecordsOfTheLinesItDeletes) {
    TLogScratch scratch;
    TResultsLog log(scratch.Registry());
    for (const char* who : {"Ala", "Ola", "Ela"})
        log.AppendResultLine(Text(who), kAnswers);
    log.LoadIntoList();
    log.DeleteLine(1);
    // Another copy finishes while the window is open: its line and record stay.
    TResultsLog(scratch.Registry()).AppendResultLine(Text("Iza"), kAnswers);
    const std::string before = RecordsOf(scratch);
    log.Save();
    EXPECT_EQ(RecordsOf(scratch), Line(1, "Ala") + Line(3, "Ela") + Line(4, "Iza"));
    EXPECT_EQ(ReadBytes(scratch.SysDir() / (std::string(kAnswerRecordsFileName) + ".poprzedni")),
              before);
}
