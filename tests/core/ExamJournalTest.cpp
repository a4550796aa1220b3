// The journal of the exam in progress: written and read back in every state
// it can hold, and a file that is not a whole journal never taken for one.
#include "ExamJournal.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

TExamJournal Started() {
    TExamJournal j;
    j.testPath = "/home/uczeń/Testy/geografia.ts2";
    j.testHash = 0x0123456789abcdefULL;
    j.testName = "\"Geografia\"";
    j.userName = "Żaneta Łęcka";
    j.minutesAllowed = 10;
    j.startedAt = 1020680100;
    j.deadline = 1020680700;
    j.secondsLeft = 600;
    j.headerText = "***     Użytkownik Żaneta Łęcka przystąpił do egzaminu \"Geografia\"";
    j.questionCountText = "20";
    j.maxPointsText = "040";
    return j;
}

TExamJournal Answered(TJournalPhase phase) {
    TExamJournal j = Started();
    j.questionNumber = 3;
    j.pointsGained = 7;
    j.pointsLost = -2;
    j.outcomes = {{1, 'R', 2, 'B'}, {2, 'S', 5, 0, "odp = b"}, {3, 'W', -2, 'A', "zła\nz"}};
    j.typedTried = "";
    j.phase = phase;
    j.secondsLeft = 431;
    j.correctAnswerText = "Odp \\ z ukośnikiem\r\nw dwóch wierszach";
    j.feedback = {"Niestety Żaneta Łęcka", "błędna odpowiedź.",
                  "Poprawna odpowiedź to:", "Odp \\n dosłownie"};
    return j;
}

} // namespace

TEST(ExamJournal, EveryStateIsReadBackAsWritten) {
    TExamJournal finishing = Answered(TJournalPhase::Finishing);
    finishing.resultText = "Użytkownik Żaneta Łęcka przystąpił ... Otrzymana ocena to: mierny.";
    finishing.record = {0,
                        "Użytkownik Żaneta\tŁęcka",
                        "\"Geo|grafia\"",
                        0xfedcba9876543210,
                        20,
                        {{1, 'B', "Pytanie\\n 1", 'B', false, false, "", 2, 0},
                         {3, 0, "", 0, true, false, "a|b\tc\r\n", 0, -2}}};
    TExamJournal emptyTexts = Started();
    emptyTexts.testPath = "";
    emptyTexts.userName.assign(1, ' ');
    emptyTexts.phase = TJournalPhase::FormChoice;
    const TExamJournal cases[] = {
        Started(),
        Answered(TJournalPhase::FormChoice),
        Answered(TJournalPhase::Choosing),
        Answered(TJournalPhase::Verdict),
        Answered(TJournalPhase::TypedWrong),
        finishing,
        emptyTexts,
    };
    for (const TExamJournal& journal : cases) {
        SCOPED_TRACE(FormatJournal(journal));
        const std::optional<TExamJournal> read = ParseJournal(FormatJournal(journal));
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, journal);
    }
}

TEST(ExamJournal, WhatIsNotAWholeJournalIsRefused) {
    const std::string good = FormatJournal(Answered(TJournalPhase::Verdict));
    const std::string body = good.substr(0, good.rfind("suma="));
    // The body changed and summed again, as a hand that knows the format would.
    const auto resummed = [](std::string changed) {
        char sum[17];
        std::snprintf(sum, sizeof sum, "%016llx", (unsigned long long)ContentHash(changed));
        return changed + "suma=" + sum + "\n";
    };
    const auto replaced = [&](const std::string& what, const std::string& with) {
        std::string changed = body;
        changed.replace(changed.find(what), what.size(), with);
        return resummed(changed);
    };
    std::string flipped = good;
    flipped[good.find("zdobyto=7") + 8] = '9';
    const std::string cases[] = {
        "",
        good.substr(0, good.size() - 1),                         // the last line end lost
        good.substr(0, good.size() / 2),                         // cut short
        body,                                                    // no checksum
        flipped,                                                 // a number changed, not summed
        good + "x",                                              // something after the checksum
        replaced("zapis 1", "zapis 9"),                          // another format
        replaced("stan=werdykt", "stan=wygrana"),                // a phase the program doesn't know
        replaced("czas-min=10\n", ""),                           // a value missing
        replaced("pytanie=3", "pytanie=3\npytanie=4"),           // a value twice
        replaced("stan=werdykt", "stan=werdykt\nwiersz=1."),     // a result line of no finish
        replaced("czas-min=10", "czas-min=0"),                   // no time
        replaced("zdobyto=7", "zdobyto=9223372036854775807"),    // past any exam
        replaced("wynik=1 R 2 B", "wynik=1 R 2 F"),              // no such letter
        replaced("wpisana=", "wpisana=\nwpisana="),              // a typed answer twice
        replaced("stan=werdykt", "stan=werdykt\nodpowiedzi=O1"), // a record of no finish
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseJournal(text));
    }
    EXPECT_TRUE(ParseJournal(resummed(body)));
    // A journal of the version before the answers were kept goes on.
    const std::optional<TExamJournal> older =
        ParseJournal(replaced("wynik=1 R 2 B", "wynik=1 R 2"));
    ASSERT_TRUE(older);
    EXPECT_EQ(older->outcomes[0], (TQuestionOutcome{1, 'R', 2}));
}

TEST(ExamJournal, OnlyTheCopyHoldingTheJournalWritesOrRemovesIt) {
    TTempDir dir;
    const std::filesystem::path file = dir.path() / TExamJournalFile::kFileName;
    TExamJournalFile first(file);
    ASSERT_TRUE(first.Owned());
    first.Write(Started());

    TExamJournalFile second(file);
    EXPECT_FALSE(second.Owned());
    TExamJournal read;
    EXPECT_EQ(second.Read(read), TExamJournalFile::TFound::Nothing);
    second.Write(Answered(TJournalPhase::Verdict));
    second.Remove();
    ASSERT_EQ(first.Read(read), TExamJournalFile::TFound::Journal);
    EXPECT_EQ(read, Started());

    first.Remove();
    EXPECT_EQ(first.Read(read), TExamJournalFile::TFound::Nothing);
}
