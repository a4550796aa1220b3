// What a lab's administrator fixes for every exam on a computer.
#include "EgzaminHarness.h"

#include <gtest/gtest.h>

using namespace kwizmar;
using namespace kwizmar::testing;

TEST(LabRules, AStrictExamRevealsNeitherTheRightChoiceNorTheTypedAnswer) {
    struct TCase {
        const char* what;
        bool strict;
    } cases[] = {{"the program's own behaviour", false}, {"a strict exam", true}};
    for (const TCase& c : cases) {
        TEgzaminHarness h;
        h.logic.ApplyLabRules({c.strict, 0});
        h.Begin(WithSelfAnswer(WithQuestionLine(ValidTestLines(2), 1, 6, "c"), 2, "TAK - 3"));
        h.logic.RevealCorrectChoice(true);
        EXPECT_EQ(h.view().C.checked, !c.strict) << c.what;
        h.AnswerInTestForm("a");
        h.ChooseForm(TAnswerMode::SelfTyped);
        h.logic.RevealTypedAnswer(true);
        EXPECT_EQ(h.view().SamEdit.text.empty(), c.strict) << c.what;
    }
}

TEST(LabRules, AnExamTimeFixedByTheAdministratorIsShownAndCannotBeChanged) {
    TEgzaminHarness h;
    h.logic.ApplyLabRules({false, 45});
    EXPECT_EQ(h.view().SETime.text, "45");
    EXPECT_FALSE(h.view().SETime.enabled);
    h.Begin(ValidTestLines(2), "10");
    EXPECT_EQ(h.state().minutesAllowed, 45);
    EXPECT_EQ(h.view().minuty.text, "45");
}

// In a strict exam leaving the exam ends it with what was answered, one line
// in the log; otherwise it is abandoned as the rules say.
TEST(LabRules, LeavingAStrictExamEndsItWithTheAnswersGiven) {
    for (const bool strict : {false, true}) {
        TEgzaminHarness h;
        h.logic.ApplyLabRules({strict, 0});
        h.Begin(ValidTestLines(3));
        h.AnswerInTestForm("b");
        EXPECT_EQ(h.logic.LeavingEndsTheExam(), strict);
        if (strict)
            h.logic.EndExamNow();
        else
            h.logic.ReturnToTestChoice();
        ASSERT_EQ(h.log.lines.size(), strict ? 1u : 0u);
        if (strict) {
            EXPECT_TRUE(h.view().Panel4.visible);
            EXPECT_NE(h.log.lines[0].find("Zdobyto 2pkt."), std::string::npos) << h.log.lines[0];
            EXPECT_FALSE(h.logic.LeavingEndsTheExam());
        }
    }
}
