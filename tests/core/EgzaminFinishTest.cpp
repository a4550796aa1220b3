// The end of an exam: summary, grade, log line, and the way back.
#include "EgzaminLogic.h"

#include "EgzaminHarness.h"
#include "Errors.h"
#include "ExamResult.h"

#include <gtest/gtest.h>

using namespace kwizmar;
using namespace kwizmar::testing;

TEST(Finish, WholeExamEndToEndWritesTheLogLineCharacterForCharacter) {
    TEgzaminHarness h;
    h.regional = TFakeRegional("yyyy-MM-dd", "HH:mm:ss");
    auto lines = ValidTestLines(20); // 2 points each, 40 in all
    lines[1] = "\"Próbny\"";
    lines[3] = "2002-05-06";
    h.log.lines = {"1. wcześniejszy", "7. jeszcze wcześniejszy"};
    h.Load(lines);
    h.logic.SetUserName("Tester");
    h.logic.ClampExamMinutes("10");
    h.Enter("NameEdit");
    for (int k = 1; k <= 20; ++k) {
        SCOPED_TRACE(k);
        ASSERT_EQ(h.state().questionNumber, k);
        ASSERT_EQ(h.view().NrPyt.text, std::to_string(k));
        if (k % 2 == 0) { // the chooser: test form by keyboard
            h.logic.ChooseFormOption(TAnswerMode::TestForm);
            h.Enter("RBTest");
        }
        h.logic.ChooseAnswer(k <= 15 ? "b" : "e");
        h.Ticks(k == 20 ? 432 - 19 * 20 : 20); // 7 minutes 12 seconds in all
        h.Enter(h.view().focus);               // check
        h.Enter(h.view().focus);               // next
    }
    const TEgzaminView& v = h.view();
    EXPECT_TRUE(v.Panel4.visible);
    EXPECT_FALSE(v.Czas);
    EXPECT_TRUE(v.Timer1); // the banner keeps running under the summary
    EXPECT_EQ(v.RxLabel5.text, "Tester gratuluję przejścia egzaminu");
    EXPECT_EQ(v.RxLabel6.text, "Egzamin trwał 7 minut i 12 sekund");
    EXPECT_EQ(v.RxLabel7.text, "Do zdobycia było 40, z czego zdobyto 30 a stracono 10");
    EXPECT_EQ(v.RxLabel8.text, "Zdobyłeś 75% całości punktów.");
    EXPECT_EQ(v.RxLabel9.text, "Otrzymana ocena to:");
    EXPECT_EQ(v.RxLabel10.text, "dostatecznie dobry");
    ASSERT_EQ(h.log.lines.size(), 3u);
    EXPECT_EQ(h.log.lines[2],
              "3. Użytkownik Tester przystąpił do egzaminu \"Próbny\" o godzinie 10:15:00 dnia "
              "2002-05-06. Przewidywany czas egzaminu 10min. Liczba pytań 20. Maksymalna liczba "
              "punktów 40. Egzamin trwał 7 minut i 12 sekund. Zdobyto 30pkt. (75%) a stracono "
              "10pkt. Otrzymana ocena to: dostatecznie dobry.");
}

TEST(Finish, BonusPointsPastTheMaximumGradeCelujacy) {
    TEgzaminHarness h;
    h.Begin(ValidTestLines(2)); // 4 points; question 2 offers 3 extra
    h.AnswerInTestForm("b");
    h.ChooseForm(TAnswerMode::SelfTyped);
    h.Type("ODP B 2");
    h.logic.CheckTypedAnswer();
    const TEgzaminView& v = h.view();
    EXPECT_EQ(v.ZdobytoPkt.text, "7");   // the true total
    EXPECT_EQ(v.ZdobytoBar.progress, 4); // the gauge just full
    EXPECT_EQ(v.ZdobytoBar.PercentDone(), 100);
    h.logic.GoToNextQuestion();
    EXPECT_EQ(v.RxLabel8.text, "Zdobyłeś 175% całości punktów.");
    EXPECT_EQ(v.RxLabel10.text, "celujący");
    ASSERT_EQ(h.log.lines.size(), 1u);
    EXPECT_NE(h.log.lines[0].find(". Zdobyto 7pkt. (175%) a stracono 0pkt. Otrzymana ocena to: "
                                  "celujący."),
              std::string::npos);
}

TEST(Finish, NoGradeIsSaidPlainlyNeverLeftOverFromAnEarlierExam) {
    TEgzaminHarness h;
    auto negative = WithQuestionLine(ValidTestLines(1), 1, 7, "-1");
    negative[5] = "3";
    auto zero = ValidTestLines(1);
    zero[5] = "0";
    h.Begin(ValidTestLines(1));
    h.AnswerInTestForm("b");
    ASSERT_EQ(h.view().RxLabel10.text, "bardzo dobry");

    h.logic.SpeedButton9Click();
    h.Load(negative);
    h.logic.StartExam();
    h.AnswerInTestForm("b"); // -1 of 3
    EXPECT_EQ(h.view().RxLabel8.text, "Zdobyłeś -33% całości punktów.");
    EXPECT_EQ(h.view().RxLabel10.text, kNoGradeText);
    EXPECT_NE(h.log.lines[1].find("(-33%) a stracono 0pkt. Otrzymana ocena to: brak oceny."),
              std::string::npos);

    h.logic.SpeedButton9Click();
    h.Load(zero);
    h.logic.StartExam();
    h.AnswerInTestForm("b"); // 2 of 0
    EXPECT_FALSE(h.view().Czas);
    EXPECT_TRUE(h.view().Panel4.visible);
    EXPECT_EQ(h.view().RxLabel7.text, "Do zdobycia było 0, z czego zdobyto 2 a stracono 0");
    EXPECT_EQ(h.view().RxLabel8.text, "Zdobyłeś —% całości punktów.");
    EXPECT_EQ(h.view().RxLabel10.text, kNoGradeText);
    EXPECT_NE(h.log.lines[2].find("Zdobyto 2pkt. (—%) a stracono 0pkt. Otrzymana ocena to: brak "
                                  "oceny."),
              std::string::npos);
}

TEST(Finish, MaximumShowsAsTheHeaderStatesIt) {
    struct {
        const char* maxPoints;
        const char* percentLine;
    } cases[] = {
        {"004", "Zdobyłeś 100% całości punktów."},
        {"+7", "Zdobyłeś 57% całości punktów."},
    };
    for (const auto& c : cases) {
        TEgzaminHarness h;
        auto lines = ValidTestLines(2); // 2 points a question
        lines[5] = c.maxPoints;
        h.Begin(lines);
        h.AnswerInTestForm("b");
        h.AnswerInTestForm("b");
        ASSERT_TRUE(h.view().Panel4.visible) << c.maxPoints;
        EXPECT_EQ(h.view().RxLabel7.text, std::string("Do zdobycia było ") + c.maxPoints +
                                              ", z czego zdobyto 4 a stracono 0");
        EXPECT_EQ(h.view().RxLabel8.text, c.percentLine);
    }
}

TEST(Finish, LogThatCantBeWrittenStillFinishesTheExam) {
    for (const bool byClock : {false, true}) {
        SCOPED_TRACE(byClock ? "time-out" : "last verdict");
        TEgzaminHarness h;
        h.Begin(ValidTestLines(1));
        h.log.failWith = "/nie/ma/MSStr32.dll";
        h.logic.ChooseAnswer("b");
        h.logic.CheckTestAnswer();
        try {
            if (byClock)
                h.Ticks(600);
            else
                h.logic.GoToNextQuestion();
            FAIL() << "no error reported";
        } catch (const EFCreateError& e) {
            EXPECT_STREQ(e.what(), "Cannot create file /nie/ma/MSStr32.dll");
        }
        const TEgzaminView& v = h.view();
        EXPECT_TRUE(v.Panel4.visible);
        EXPECT_FALSE(v.Czas);
        EXPECT_EQ(v.RxLabel10.text, "bardzo dobry");
        EXPECT_FALSE(v.SpeedButton8.enabled);
        EXPECT_TRUE(v.SpeedButton9.visible && v.SpeedButton9.enabled);
        h.Ticks(100); // the clock stays stopped: no second attempt
        h.logic.SpeedButton9Click();
        EXPECT_TRUE(v.Panel6.visible);
    }
}

// The line goes to the log while the window goes on: the statistics and the
// next exam wait for it, the journal stays until it is known, and a failure
// told later reaches the window from the port's answer.
TEST(Finish, TheSummaryWaitsForTheLogWithoutHoldingTheWindow) {
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "the log refuses" : "the log takes it");
        TEgzaminHarness h;
        h.log.answerLater = true;
        h.Begin(ValidTestLines(1));
        h.AnswerInTestForm("b");
        const TEgzaminView& v = h.view();
        ASSERT_TRUE(v.Panel4.visible);
        EXPECT_TRUE(v.LabelZapis.visible);
        EXPECT_EQ(v.LabelZapis.text, "Zapisywanie wyniku…");
        EXPECT_TRUE(h.logic.SavingResult());
        EXPECT_FALSE(v.SpeedButton10.enabled);
        EXPECT_FALSE(v.SpeedButton9.enabled);
        h.logic.SpeedButton9Click();
        EXPECT_TRUE(v.Panel4.visible) << "a new exam began before the last one's line was kept";
        EXPECT_FALSE(h.journal.removed);

        if (fails) {
            h.log.failWith = "/nie/ma/MSStr32.dll";
            EXPECT_THROW(h.log.Answer(), EFCreateError);
        } else {
            h.log.Answer();
        }
        EXPECT_FALSE(v.LabelZapis.visible);
        EXPECT_TRUE(v.SpeedButton10.enabled && v.SpeedButton9.enabled);
        // A line that reached neither the log nor the waiting results stays
        // in the journal for the next start.
        EXPECT_EQ(h.journal.removed, !fails);
    }
}

TEST(Finish, GradeScaleShowsOnlyWhileOcenyIsHeld) {
    TEgzaminHarness h;
    h.Begin(ValidTestLines(1));
    h.logic.ShowGradeScale(true); // no summary yet: "Oceny" is hidden
    EXPECT_FALSE(h.view().Panel8.visible);
    h.AnswerInTestForm("b");
    h.logic.ShowGradeScale(true);
    EXPECT_TRUE(h.view().Panel8.visible);
    const std::string& scale = h.view().Label25.text;
    EXPECT_EQ(scale.substr(0, scale.find('\n')),
              "Skala ocen odnosi się do ilości zdobytych przez ");
    h.logic.ShowGradeScale(false);
    EXPECT_FALSE(h.view().Panel8.visible);
}

TEST(Finish, EgzaminujKeepsTheTestTheNameAndTheTime) {
    TEgzaminHarness h;
    h.Begin(ValidTestLines(1), "17");
    h.AnswerInTestForm("b");
    h.logic.SpeedButton9Click();
    const TEgzaminView& v = h.view();
    EXPECT_FALSE(v.Timer1);
    EXPECT_EQ(v.NameEdit.text, "Tester");
    EXPECT_EQ(v.SETime.text, "17");
    EXPECT_EQ(v.TSName.text, "\"Geografia\"");
    const int x = v.naglowek1.x;
    h.logic.BannerStep();
    EXPECT_EQ(v.naglowek1.x, x);
    h.Enter("NameEdit");
    EXPECT_EQ(h.state().minutesAllowed, 17);
    EXPECT_EQ(h.state().pointsGained, 0);
    EXPECT_TRUE(v.Czas);
}

TEST(Banner, CopiesSwapWhenTheLeadingOnePassesX550) {
    TEgzaminHarness h;
    h.measure.bannerWidth = 1500;
    h.Begin(ValidTestLines(1));
    const TEgzaminView& v = h.view();
    ASSERT_EQ(v.naglowek1.width, 1500);
    ASSERT_EQ(v.naglowek2.x, 511 + 1500);
    for (int i = 0; i < 475; ++i)
        h.logic.BannerStep();
    EXPECT_EQ(v.naglowek1.x, -950); // right end exactly at 550: no swap yet
    EXPECT_EQ(v.naglowek2.x, 2011 - 950);
    h.logic.BannerStep();
    EXPECT_EQ(v.naglowek1.x, -952); // right end 548
    EXPECT_EQ(v.naglowek2.x, 568);  // 20 px behind it
    h.logic.BannerStep();
    EXPECT_EQ(v.naglowek2.x, 566);
    for (int i = 0; i < 758; ++i)
        h.logic.BannerStep();
    EXPECT_EQ(v.naglowek2.x, -950);
    EXPECT_EQ(v.naglowek1.x, -950 - 20 - 1500); // gone far to the left
    h.logic.BannerStep();
    EXPECT_EQ(v.naglowek2.x, -952);
    EXPECT_EQ(v.naglowek1.x, 568); // and put back behind the other
}

TEST(Finish, SampleGeographyTestRunEndToEnd) {
    TEgzaminHarness h;
    h.logic.LoadTestFile(std::string(KWIZMAR_SOURCE_DIR) + "/Testy/geografia.ts2");
    ASSERT_TRUE(h.view().SpeedButton3.enabled) << h.view().Linia1.text;
    EXPECT_EQ(h.view().TSName.text, "\"Geografia Polski\"");
    h.logic.SetUserName("Anna");
    h.logic.StartExam();

    // 1: typed right, 2 + 2 extra points.
    h.ChooseForm(TAnswerMode::SelfTyped);
    h.Type("  śnieżka ");
    h.Enter("SamEdit");
    h.Ticks(30);
    h.Enter("Next");
    // 2: typed wrong, then the right pick in the test form, 1 point, no extra.
    h.ChooseForm(TAnswerMode::SelfTyped);
    h.Type("Wisla");
    h.logic.CheckTypedAnswer();
    h.logic.FallBackToTestForm();
    h.logic.ChooseAnswer("d");
    h.logic.CheckTestAnswer();
    h.Ticks(30);
    h.logic.GoToNextQuestion();
    // 3: right pick, 1 point; 4 and 5: wrong picks, 2 and 3 points lost.
    EXPECT_EQ(h.view().L1.text, "3: Które miasto jest stolicą województwa dolnośląskiego?:");
    h.AnswerInTestForm("c");
    h.AnswerInTestForm("a");
    h.Ticks(65);
    h.logic.ChooseAnswer("b");
    h.logic.CheckTestAnswer();
    EXPECT_EQ(h.view().RxLabel4.text, "z Czechami");
    h.logic.GoToNextQuestion();

    ASSERT_EQ(h.log.lines.size(), 1u);
    EXPECT_EQ(h.log.lines[0],
              "1. Użytkownik Anna przystąpił do egzaminu \"Geografia Polski\" o godzinie 10:15:00 "
              "dnia 06.05.2002. Przewidywany czas egzaminu 10min. Liczba pytań 5. Maksymalna "
              "liczba punktów 9. Egzamin trwał 2 minut i 5 sekund. Zdobyto 6pkt. (66%) a "
              "stracono 5pkt. Otrzymana ocena to: dostateczny.");
}
