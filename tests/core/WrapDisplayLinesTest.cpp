#include "WrapDisplayLines.h"

#include "TestFixtures.h"

#include <gtest/gtest.h>

using namespace kwizmar;
using kwizmar::testing::TFakeMeasure;

namespace {
const TFakeMeasure kMeasure; // 66 characters to a line
}

TEST(WrapDisplayLines, ShortTextLeavesTheOtherLinesEmpty) {
    EXPECT_EQ(WrapDisplayLines("Stolica Polski:", 3, kMeasure),
              (std::vector<std::string>{"Stolica Polski:", "", ""}));
    EXPECT_EQ(WrapDisplayLines("", 2, kMeasure), (std::vector<std::string>{"", ""}));
}

TEST(WrapDisplayLines, BreaksBetweenWordsAndKeepsOnlyTheFirstLines) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "słowo" + std::to_string(i % 10) + " "; // 7 characters a word
    const auto lines = WrapDisplayLines(text, 3, kMeasure);
    ASSERT_EQ(lines.size(), 3u);
    // 9 words of 6 characters and 8 blanks = 62 characters; a tenth would pass 66.
    EXPECT_EQ(CodePointCount(lines[0]), 62u);
    EXPECT_EQ(lines[0].substr(0, 7), "słowo0");
    EXPECT_EQ(lines[1].substr(0, 7), "słowo9");
    EXPECT_NE(lines[2].back(), ' ');
}

TEST(WrapDisplayLines, BreaksAWordLongerThanALineInsideIt) {
    const std::string word(150, 'x');
    const auto lines = WrapDisplayLines("ab " + word + " cd", 4, kMeasure);
    EXPECT_EQ(lines[0], "ab");
    EXPECT_EQ(lines[1], std::string(66, 'x'));
    EXPECT_EQ(lines[2], std::string(66, 'x'));
    EXPECT_EQ(lines[3], std::string(18, 'x') + " cd");
}
