#include "EdytorLogic.h"

#include "TestFixtures.h"
#include "TestLoader.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

struct TEditorFixture : ::testing::Test {
    TEditorFixture() {
        logic.Open(dir.Write("test.ts2", MakeTs2(ValidTestLines(3))));
        logic.Select(1);
    }
    std::vector<std::string> Lines() const { return DocumentLines(logic.Document()); }

    TTempDir dir;
    TFakeRegional regional;
    TFakeMeasure measure;
    TEdytorLogic logic{regional, measure, TDate{2026, 12, 8}};
};

} // namespace

TEST_F(TEditorFixture, EveryKindOfEditIsUndoneAndRedone) {
    struct TCase {
        const char* name;
        std::function<void(TEdytorLogic&)> edit;
        int selectedAfter;
    };
    const TCase cases[] = {
        {"description", [](TEdytorLogic& l) { l.SetText({TField::Description}, "Nowy opis"); }, 1},
        {"name", [](TEdytorLogic& l) { l.SetText({TField::Name}, "Nowa nazwa"); }, 1},
        {"author", [](TEdytorLogic& l) { l.SetText({TField::Author}, "Anna Nowak"); }, 1},
        {"date", [](TEdytorLogic& l) { l.SetText({TField::Date}, "08.12.2026"); }, 1},
        {"max by hand", [](TEdytorLogic& l) { l.SetText({TField::MaxPoints}, "10"); }, 1},
        {"text",
         [](TEdytorLogic& l) {
             l.SetText({TField::Text, 2}, "Inne pytanie");
         },
         2},
        {"answer",
         [](TEdytorLogic& l) {
             l.SetText({TField::Answer, 0, 3}, "Inna");
         },
         0},
        {"correct", [](TEdytorLogic& l) { l.SetCorrectAnswer(1, 4); }, 1},
        {"points",
         [](TEdytorLogic& l) {
             l.SetText({TField::Points, 1}, "7");
         },
         1},
        {"typed on", [](TEdytorLogic& l) { l.SetSelfAnswer(0, true); }, 0},
        {"typed off", [](TEdytorLogic& l) { l.SetSelfAnswer(1, false); }, 1},
        {"bonus",
         [](TEdytorLogic& l) {
             l.SetText({TField::Bonus, 1}, "5");
         },
         1},
        {"add", [](TEdytorLogic& l) { l.AddQuestion(); }, 2},
        {"duplicate", [](TEdytorLogic& l) { l.DuplicateQuestion(); }, 2},
        {"delete", [](TEdytorLogic& l) { l.DeleteQuestion(); }, 1},
        {"move up", [](TEdytorLogic& l) { l.MoveQuestion(-1); }, 0},
        {"move down", [](TEdytorLogic& l) { l.MoveQuestion(+1); }, 2},
        {"import",
         [](TEdytorLogic& l) {
             l.AppendQuestions({NewQuestion(), NewQuestion()});
         },
         3},
    };
    for (const TCase& c : cases) {
        logic.Select(1);
        const auto before = Lines();
        c.edit(logic);
        const auto after = Lines();
        EXPECT_NE(after, before) << c.name;
        EXPECT_EQ(logic.Selected(), c.selectedAfter) << c.name;
        EXPECT_TRUE(logic.Modified()) << c.name;
        logic.Undo();
        EXPECT_EQ(Lines(), before) << c.name;
        EXPECT_FALSE(logic.Modified()) << c.name;
        logic.Redo();
        EXPECT_EQ(Lines(), after) << c.name;
        logic.Undo();
    }
    EXPECT_FALSE(logic.CanUndo());
}

TEST(EdytorLogic, ImportedQuestionsTakeTheUntouchedQuestionOfANewTest) {
    TFakeRegional regional;
    TFakeMeasure measure;
    TEdytorLogic logic{regional, measure, TDate{2026, 12, 8}};
    TQuestion imported = NewQuestion();
    imported.text = "Stolica Polski?";
    logic.AppendQuestions({imported});
    ASSERT_EQ(logic.Document().questions.size(), 1u);
    EXPECT_EQ(logic.Document().questions[0].text, "Stolica Polski?");
    logic.SetText({TField::Text, 0}, "Stolica Czech?");
    logic.AppendQuestions({imported});
    EXPECT_EQ(logic.Document().questions.size(), 2u);
    EXPECT_EQ(logic.Selected(), 1);
}

TEST_F(TEditorFixture, TypingIntoOneFieldIsOneEditUntilAnotherComesBetween) {
    const std::string before = logic.Text({TField::Text, 1});
    for (const char* text : {"P", "Po", "Pol", "Pols", "Polska"})
        logic.SetText({TField::Text, 1}, text);
    logic.SetText({TField::Answer, 1, 0}, "Tak");
    logic.SetText({TField::Text, 1}, "Polska?");
    EXPECT_EQ(logic.UndoLabel(), "treść pytania 2");
    logic.Undo();
    EXPECT_EQ(logic.Text({TField::Text, 1}), "Polska");
    logic.Undo();
    logic.Undo();
    EXPECT_EQ(logic.Text({TField::Text, 1}), before);
    EXPECT_FALSE(logic.CanUndo());

    // Typing on after a save starts a new edit, so that undo reaches the saved text.
    logic.SetText({TField::Author}, "A");
    ASSERT_EQ(logic.Save(), TSaveOutcome::Saved);
    logic.SetText({TField::Author}, "AB");
    logic.Undo();
    EXPECT_EQ(logic.Text({TField::Author}), "A");
    EXPECT_FALSE(logic.Modified());
}

TEST_F(TEditorFixture, SavingIsRefusedWhileAnErrorStands) {
    logic.SetText({TField::Points, 0}, "dwa");
    EXPECT_EQ(logic.ErrorCount(), 1);
    EXPECT_TRUE(logic.QuestionHasError(0));
    EXPECT_EQ(logic.Save(), TSaveOutcome::HasErrors);
    EXPECT_EQ(logic.FileToTry(dir.path().string()), "");
    EXPECT_TRUE(logic.Modified());

    logic.SetText({TField::Points, 0}, "4");
    ASSERT_EQ(logic.SaveAs((dir.path() / "nowy").string()), TSaveOutcome::Saved);
    EXPECT_EQ(logic.Path(), (dir.path() / "nowy.ts2").string());
    EXPECT_FALSE(logic.Modified());
    // The program accepts what was saved.
    TLoadedTest loaded;
    TTestBoxView box;
    LoadTestFile(logic.Path(), loaded, box, regional, measure);
    ASSERT_TRUE(loaded.test);
    EXPECT_EQ(box.TSPkt.text, "8");
    EXPECT_EQ(logic.FileToTry(dir.path().string()), logic.Path());
}

TEST_F(TEditorFixture, ATextSourceIsSavedAsATestFileBesideIt) {
    logic.ExportTextSource((dir.path() / "zrodlo.txt").string());
    logic.Open((dir.path() / "zrodlo.txt").string());
    EXPECT_EQ(Lines()[6], "1"); // the typed answers counted afresh
    EXPECT_EQ(logic.Path(), "");
    EXPECT_EQ(logic.DisplayName(), "zrodlo.ts2");
    EXPECT_EQ(logic.Save(), TSaveOutcome::NeedsPath);
    std::filesystem::create_directory(dir.path() / "proba");
    const std::string tried = logic.FileToTry((dir.path() / "proba").string());
    EXPECT_EQ(tried, (dir.path() / "proba" / "zrodlo.ts2").string());
    EXPECT_TRUE(ValidateTest(TTestFile::ReadFile(tried), regional));
}

TEST_F(TEditorFixture, MaxPointsFollowTheSumUntilSetByHand) {
    logic.SetText({TField::Points, 0}, "5");
    EXPECT_EQ(logic.Text({TField::MaxPoints}), "9");
    logic.SetMaxPointsByHand(true);
    logic.SetText({TField::Points, 0}, "1");
    EXPECT_EQ(logic.Text({TField::MaxPoints}), "9");
    logic.SetMaxPointsByHand(false);
    EXPECT_EQ(logic.Text({TField::MaxPoints}), "5");
    logic.Undo();
    EXPECT_EQ(logic.Text({TField::MaxPoints}), "9");
}
