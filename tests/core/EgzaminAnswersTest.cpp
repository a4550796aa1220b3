// Answering a question: the start, the test form and the typed answer.
#include "EgzaminLogic.h"

#include "EgzaminHarness.h"
#include "Errors.h"

#include <gtest/gtest.h>

using namespace kwizmar;
using namespace kwizmar::testing;

TEST(StartExam, RefusesWithoutANameOrATest) {
    TEgzaminHarness h;
    h.logic.SetUserName("Tester");
    h.Enter("NameEdit");
    h.Load(ValidTestLines(2), "test.Ts2"); // rejected: the box shows a path, yet no test
    h.Enter("SETime");
    h.logic.SetUserName("");
    h.Load(ValidTestLines(2));
    h.Enter("NameEdit");
    EXPECT_EQ(h.messages.shown,
              (std::vector<std::string>{"Nie wybrałeś testu !!!", "Nie wybrałeś testu !!!",
                                        "Podaj imię użytkownika !!!"}));
    EXPECT_TRUE(h.view().Panel6.visible);
    EXPECT_TRUE(h.names.stored.empty());
    EXPECT_FALSE(h.view().Czas);

    h.logic.SetUserName("  "); // blanks are a name
    h.Enter("NameEdit");
    EXPECT_FALSE(h.view().Panel6.visible);
    EXPECT_EQ(h.names.stored, std::vector<std::string>{"  "});
}

TEST(StartExam, FillsTheBannerTheCountersAndQuestionOne) {
    TEgzaminHarness h;
    h.regional = TFakeRegional("yyyy-MM-dd", "HH:mm:ss");
    auto lines = ValidTestLines(3);
    lines[3] = "2002-05-06";
    lines[5] = "+40";  // shown as stored, computed as 40
    std::string words; // 40 words, 11 to a display line
    for (int i = 0; i < 40; ++i)
        words += i == 0 ? "słowo" : " słowo";
    lines[QuestionLine(1, 0)] = words;
    h.Begin(lines, "12");
    const TEgzaminView& v = h.view();
    EXPECT_EQ(h.names.stored, std::vector<std::string>{"Tester"});
    EXPECT_EQ(h.state().headerText,
              "***     Użytkownik Tester przystąpił do egzaminu \"Geografia\" o godzinie 10:15:00 "
              "dnia 2002-05-06. Przewidywany czas egzaminu 12min. Liczba pytań 3. Maksymalna "
              "liczba punktów +40");
    EXPECT_EQ(v.naglowek1.text, h.state().headerText);
    EXPECT_EQ(v.naglowek2.text, h.state().headerText);
    EXPECT_EQ(v.naglowek1.x, 0);
    EXPECT_EQ(v.naglowek2.x, 511 + v.naglowek1.width);
    EXPECT_TRUE(v.Timer1);

    // Four display lines of text: the first three are shown, the number goes
    // in front of the first after wrapping.
    std::string line;
    for (int i = 0; i < 11; ++i)
        line += i == 0 ? "słowo" : " słowo";
    EXPECT_EQ(v.L1.text, "1: " + line);
    EXPECT_EQ(v.L2.text, line);
    EXPECT_EQ(v.L3.text, line);
    EXPECT_EQ(v.odpA.text, "Odp A 1");
    EXPECT_EQ(v.odpE.text, "Odp E 1");
    EXPECT_EQ(v.LabelFullOdp.text, "Odp B 1");
    EXPECT_EQ(v.Zdobyto.text, "2");
    EXPECT_EQ(v.OdpSam.text, "NIE");
    EXPECT_EQ(v.Label13.text, "3");
    EXPECT_EQ(v.Label19.text, "+40");
    EXPECT_EQ(v.NrPyt.text, "1");
    EXPECT_EQ(v.PytBar.maxValue, 3);
    EXPECT_EQ(v.PytBar.progress, 1);
    EXPECT_EQ(v.ZdobytoBar.maxValue, 40);
    EXPECT_EQ(v.ZdobytoPkt.text, "0");
    EXPECT_EQ(v.StraconoPkt.text, "0");
    EXPECT_EQ(v.minuty.text, "12");
    EXPECT_EQ(v.sekundy.text, "00");
}

TEST(TestForm, EachCheckedQuestionGoesWholeIntoOneTotal) {
    TEgzaminHarness h;
    auto lines = ValidTestLines(3);
    lines[QuestionLine(2, 7)] = "3";
    lines[QuestionLine(3, 7)] = "0";
    h.Begin(lines);
    h.AnswerInTestForm("b"); // +2
    h.ChooseForm(TAnswerMode::TestForm);
    h.logic.ChooseAnswer("b");
    h.logic.ChooseAnswer("d"); // the last pick counts
    h.logic.CheckTestAnswer();
    const TEgzaminView& v = h.view();
    EXPECT_EQ(h.state().chosenLetter, "d");
    EXPECT_EQ(h.state().pointsGained, 2);
    EXPECT_EQ(h.state().pointsLost, 3);
    EXPECT_EQ(v.StraconoBar.progress, 3);
    EXPECT_EQ(v.RxLabel1.text, "Niestety Tester");
    EXPECT_EQ(v.RxLabel2.text, "błędna odpowiedź.");
    EXPECT_EQ(v.RxLabel3.text, "Poprawna odpwiedź to");
    EXPECT_EQ(v.RxLabel4.text, "Odp B 2");
    h.logic.GoToNextQuestion();
    h.logic.ChooseAnswer("b");
    h.logic.CheckTestAnswer(); // worth 0: nothing moves
    EXPECT_EQ(v.RxLabel1.text, "");
    EXPECT_EQ(v.RxLabel2.text, "Gratuluję Tester");
    EXPECT_EQ(v.RxLabel3.text, "poprawna odpwiedź");
    EXPECT_EQ(v.RxLabel4.text, "");
    EXPECT_EQ(h.state().pointsGained, 2);
    EXPECT_EQ(h.state().pointsLost, 3);
}

TEST(TestForm, UpperCaseCorrectLetterCanNotBeAnsweredRight) {
    TEgzaminHarness h;
    h.Begin(WithQuestionLine(ValidTestLines(3), 2, 6, "B"));
    h.AnswerInTestForm("b");
    h.ChooseForm(TAnswerMode::TestForm);
    EXPECT_EQ(h.state().correctAnswerText, "Odp B 1"); // the previous question's
    h.logic.RevealCorrectChoice(true);                 // finds no letter
    EXPECT_FALSE(h.view().SpeedButton6.enabled);
    h.logic.ChooseAnswer("b");
    h.logic.CheckTestAnswer();
    EXPECT_EQ(h.state().pointsLost, 2);
    EXPECT_EQ(h.view().RxLabel4.text, "Odp B 1");
}

TEST(TestForm, CtrlOverTheAnswersMarksTheRightOne) {
    TEgzaminHarness h;
    h.Begin(WithQuestionLine(ValidTestLines(1), 1, 6, "c"));
    h.logic.RevealCorrectChoice(false);
    EXPECT_FALSE(h.view().C.checked);
    h.logic.RevealCorrectChoice(true);
    EXPECT_TRUE(h.view().C.checked);
    EXPECT_EQ(h.view().focus, "C");
    EXPECT_TRUE(h.view().SpeedButton6.enabled);
    h.Enter("C");
    EXPECT_EQ(h.state().pointsGained, 2);
}

TEST(TestForm, EnterOnAnAnswerButtonNeedsAPickOnThisQuestion) {
    TEgzaminHarness h;
    h.Begin(ValidTestLines(3));
    h.AnswerInTestForm("b");
    h.ChooseForm(TAnswerMode::TestForm);
    // "b" is still the last pick, but of question 1: Enter on a focused,
    // unmarked button checks nothing.
    h.Enter("A");
    EXPECT_FALSE(h.view().ODPPanel.visible);
    EXPECT_EQ(h.state().pointsGained, 2);
    h.logic.ChooseAnswer("a");
    h.Enter("A");
    EXPECT_TRUE(h.view().ODPPanel.visible);
    EXPECT_EQ(h.state().pointsLost, 2);
}

TEST(TestForm, PointsThatDontConvertStopTheCheck) {
    TEgzaminHarness h;
    h.Begin(WithQuestionLine(ValidTestLines(2), 1, 7, "2 pkt"));
    h.logic.ChooseAnswer("b");
    try {
        h.logic.CheckTestAnswer();
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'2 pkt' is not a valid integer value");
    }
    const TEgzaminView& v = h.view();
    EXPECT_TRUE(v.ODPPanel.visible); // the verdict is out
    EXPECT_EQ(v.RxLabel2.text, "Gratuluję Tester");
    EXPECT_FALSE(v.SpeedButton6.enabled);
    EXPECT_EQ(h.state().pointsGained, 0); // the totals are not
    EXPECT_EQ(v.ZdobytoPkt.text, "0");
    EXPECT_TRUE(v.B.enabled);
    EXPECT_FALSE(v.Next.enabled);
    EXPECT_EQ(v.focus, "B");
    EXPECT_THROW(h.Enter("B"), EConvertError); // Enter repeats the failure
    // The clock still ends the exam.
    h.Ticks(600);
    EXPECT_TRUE(v.Panel4.visible);
    EXPECT_FALSE(v.Czas);
}

TEST(TypedAnswer, RightAnswerEarnsThePointsAndTheBonus) {
    TEgzaminHarness h;
    auto lines = WithSelfAnswer(ValidTestLines(2), 1, "TAK - 3");
    h.Begin(lines);
    EXPECT_EQ(h.view().LabelAdd.text, "3");
    EXPECT_FALSE(h.view().A.enabled);
    h.ChooseForm(TAnswerMode::SelfTyped);
    h.logic.RevealTypedAnswer(false);
    EXPECT_EQ(h.view().SamEdit.text, "");
    h.logic.RevealTypedAnswer(true);
    EXPECT_EQ(h.view().SamEdit.text, "Odp B 1");
    h.Enter("SamEdit");
    EXPECT_EQ(h.state().pointsGained, 5);
    EXPECT_EQ(h.state().pointsLost, 0);
    EXPECT_EQ(h.view().RxLabel2.text, "Gratuluję Tester");
    EXPECT_FALSE(h.view().SAMPanel.visible);
}

TEST(TypedAnswer, WrongAnswerCostsNothingAndFallsBackWithoutTheBonus) {
    for (const char* pick : {"b", "a"}) {
        SCOPED_TRACE(pick);
        TEgzaminHarness h;
        h.Begin(WithSelfAnswer(ValidTestLines(2), 1, "TAK - 3"));
        h.ChooseForm(TAnswerMode::SelfTyped);
        h.Enter("SamEdit"); // empty field: wrong
        const TEgzaminView& v = h.view();
        EXPECT_EQ(v.RxLabel1.text, "Niestety Tester");
        EXPECT_EQ(v.RxLabel3.text, "Sprój testowo");
        EXPECT_EQ(v.RxLabel4.text, "");
        EXPECT_EQ(h.state().pointsGained, 0);
        EXPECT_EQ(h.state().pointsLost, 0);
        h.Enter("Dalej");
        EXPECT_TRUE(v.A.enabled);
        EXPECT_FALSE(v.ODPPanel.visible);
        EXPECT_EQ(v.L1.text, "1: Pytanie 1:");
        h.logic.ChooseAnswer(pick);
        h.logic.CheckTestAnswer();
        EXPECT_EQ(h.state().pointsGained, pick[0] == 'b' ? 2 : 0);
        EXPECT_EQ(h.state().pointsLost, pick[0] == 'b' ? 0 : 2);
        EXPECT_TRUE(v.SpeedButton8.visible);
        EXPECT_TRUE(v.SpeedButton8.enabled);
    }
}

TEST(TypedAnswer, EnterOnAFormOptionWithNoneMarkedOnlyDisablesDalej) {
    TEgzaminHarness h;
    h.Begin(WithSelfAnswer(ValidTestLines(2), 1, "TAK - 3"));
    h.Enter("RBSam");
    EXPECT_TRUE(h.view().SAMPanel.visible);
    EXPECT_TRUE(h.view().Panel7.visible);
    EXPECT_FALSE(h.view().SpeedButton7.enabled);
}

TEST(TypedAnswer, BonusThatDoesntConvertStopsTheCheckAndRepeats) {
    TEgzaminHarness h;
    h.Begin(WithSelfAnswer(ValidTestLines(2), 1, "TAK"));
    h.ChooseForm(TAnswerMode::SelfTyped);
    h.Type("Odp B 1");
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            h.Enter("SamEdit");
            FAIL() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), "'' is not a valid integer value");
        }
        EXPECT_EQ(h.state().pointsGained, 0);
        EXPECT_TRUE(h.view().SamEdit.enabled);
        EXPECT_TRUE(h.view().SpeedButton12.enabled);
    }
}

namespace {

struct TConfirmCase {
    const char* how;
    bool byEnter;
    const char* typed;
};

} // namespace

TEST(TypedAnswer, ConfirmedByEnterOrByTheButton) {
    const TConfirmCase cases[] = {
        {"right, by Enter", true, "Odp B 1"},
        {"right, by the button", false, "Odp B 1"},
        {"wrong, by Enter", true, "Odp A 1"},
        {"wrong, by the button", false, "Odp A 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        TEgzaminHarness h;
        h.Begin(WithSelfAnswer(ValidTestLines(2), 1, "TAK - 3"));
        h.ChooseForm(TAnswerMode::SelfTyped);
        h.Type(c.typed);
        if (c.byEnter)
            h.Enter("SamEdit");
        else
            h.logic.CheckTypedAnswer();
        const TEgzaminView& v = h.view();
        // The disabled slot-4 "O&K" is the typed-answer one after Enter, the
        // test-form one after the button; they look the same.
        EXPECT_EQ(v.SpeedButton12.visible, c.byEnter);
        EXPECT_FALSE(v.SpeedButton12.enabled);
        EXPECT_EQ(v.SpeedButton6.visible, !c.byEnter);
        EXPECT_FALSE(v.SpeedButton6.enabled);
        EXPECT_FALSE(v.SamEdit.enabled);

        const bool right = c.typed[4] == 'B';
        EXPECT_EQ(v.focus, right ? "Next" : "Dalej");
        h.logic.SetFocus(v.focus); // Enter goes on without the mouse
        h.logic.PressEnter();
        if (right) {
            EXPECT_EQ(h.state().questionNumber, 2);
            EXPECT_EQ(v.L1.text, "2: Pytanie 2:");
            EXPECT_FALSE(v.Next.enabled);
        } else {
            EXPECT_EQ(h.state().questionNumber, 1);
            EXPECT_TRUE(v.A.enabled);
            EXPECT_TRUE(v.SpeedButton6.visible);
            EXPECT_FALSE(v.SpeedButton12.visible);
            EXPECT_FALSE(v.Dalej.enabled);
        }
    }
}

TEST(OdpOption, EveryQuestionInTestFormIsAskedAgainAtEachQuestion) {
    TEgzaminHarness h;
    h.options.odp = true;
    auto lines = WithSelfAnswer(ValidTestLines(4), 1, "TAK - 3");
    h.Begin(lines);
    EXPECT_FALSE(h.view().SAMPanel.visible);
    EXPECT_TRUE(h.view().A.enabled);
    h.AnswerInTestForm("b");
    EXPECT_EQ(h.state().questionNumber, 2); // "TAK - 3", still test form only
    EXPECT_FALSE(h.view().SAMPanel.visible);
    h.AnswerInTestForm("b");
    h.options.odp = false; // switched off in the options window mid-exam
    h.AnswerInTestForm("b");
    EXPECT_EQ(h.state().questionNumber, 4);
    EXPECT_TRUE(h.view().SAMPanel.visible);
    EXPECT_EQ(h.view().focus, "RBSam");
}
