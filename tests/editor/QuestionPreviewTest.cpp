#include "QuestionPreview.h"
#include "TestDocument.h"

#include "TestFixtures.h"

#include <gtest/gtest.h>

using namespace kwizmar;
using namespace kwizmar::testing;

// TFakeMeasure: 7 pixels a character, so a question line holds 66 characters
// and an answer line 62.
TEST(QuestionPreview, MarksWhatTheExamPageCutsOff) {
    TQuestion q = NewQuestion();
    std::string words;
    for (int i = 0; i < 4 * 11; ++i)
        words += "abcde ";
    words.pop_back();
    q.text = words; // 44 words of 6 characters: 11 to a line, four lines with the ":"
    q.answers[0] = std::string(62, 'a');
    q.answers[1] = std::string(60, 'b') + "ółw";
    const TQuestionPreview preview = PreviewQuestion(q, 7, TFakeMeasure());
    ASSERT_EQ(preview.questionLines.size(), 4u);
    EXPECT_TRUE(preview.QuestionCut());
    EXPECT_EQ(preview.questionLines[0].substr(0, 9), "7: abcde ");
    EXPECT_EQ(preview.questionLines[3], "abcde abcde abcde abcde abcde abcde abcde abcde abcde "
                                        "abcde abcde:");
    EXPECT_EQ(preview.answers[0].shown, q.answers[0]);
    EXPECT_EQ(preview.answers[0].cut, "");
    EXPECT_EQ(preview.answers[1].shown, std::string(60, 'b') + "ół");
    EXPECT_EQ(preview.answers[1].cut, "w");

    q.text = "Krótkie";
    const TQuestionPreview shortOne = PreviewQuestion(q, 1, TFakeMeasure());
    EXPECT_EQ(shortOne.questionLines, std::vector<std::string>{"1: Krótkie:"});
    EXPECT_FALSE(shortOne.QuestionCut());
}
