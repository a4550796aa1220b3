// The answers' record's line: what the analysis reads back of every finish.
#include "AnswerRecord.h"

#include <gtest/gtest.h>

using namespace kwizmar;

TEST(AnswerRecord, WhatIsNoWholeRecordIsRefused) {
    const std::string good =
        "O1\t3\tUżytkownik "
        "Ala\t\"T\"\t00000000000000ff\t2\t1|B|Pyt\\p1|A|-||0|2\t2|-||-|+|x\\ty|5|0";
    const std::optional<TAnswerRecord> read = ParseAnswerRecord(good + "\r");
    ASSERT_TRUE(read);
    EXPECT_EQ(FormatAnswerRecord(*read), good);
    EXPECT_EQ(read->entries[0].start, "Pyt|1");
    EXPECT_EQ(read->entries[1].typed, "x\ty");
    EXPECT_TRUE(read->entries[1].Right());
    EXPECT_FALSE(read->entries[0].Right());

    const std::string cases[] = {
        "",
        "O2\t3\tU\t\"T\"\t00000000000000ff\t2",                  // another format
        "O1\t-3\tU\t\"T\"\t00000000000000ff\t2",                 // no such line
        "O1\t3\tU\t\"T\"\t00ff\t2",                              // a short hash
        "O1\t3\tU\t\"T\"\t00000000000000ff",                     // no question count
        "O1\t3\tU\\x\t\"T\"\t00000000000000ff\t2",               // an unknown escape
        "O1\t3\tU\t\"T\"\t00000000000000ff\t2\t1|B|P|A|-||0",    // an entry cut short
        "O1\t3\tU\t\"T\"\t00000000000000ff\t2\t1|G|P|A|-||0|2",  // no such letter
        "O1\t3\tU\t\"T\"\t00000000000000ff\t2\t1|B|P|A|-|x|0|2", // typed text untried
        "O1\t3\tU\t\"T\"\t00000000000000ff\t2\t0|B|P|A|-||0|2",  // question 0
    };
    for (const std::string& line : cases) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(ParseAnswerRecord(line));
    }
    EXPECT_EQ(RecordLinePrefixOf(good), "O1\t3\tUżytkownik Ala\t");
    EXPECT_EQ(RecordLinePrefix(3, "Użytkownik Ala"), "O1\t3\tUżytkownik Ala\t");
}

TEST(AnswerRecord, KeepsTheStartsOfLinesAndQuestions) {
    EXPECT_EQ(LineStartText("Użytkownik A o 10:00. Przewidywany czas 5min. Zdobyto"),
              "Użytkownik A o 10:00");
    EXPECT_EQ(LineStartText("wiersz bez tego"), "wiersz bez tego");
    EXPECT_EQ(QuestionStartText("  Ile\r\n  jest   dwa?  "), "Ile jest dwa?");
    auto letters = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += "ą";
        return text;
    };
    // Characters, not bytes, counted; the space between counts too.
    EXPECT_EQ(QuestionStartText(letters(30) + " " + letters(40)), letters(30) + " " + letters(29));
}
