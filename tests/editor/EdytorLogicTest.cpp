#include "EdytorLogic.h"

#include "Recovery.h"
#include "TestFixtures.h"
#include "TestLoader.h"

#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

struct TEditorFixture : ::testing::Test {
    TEditorFixture() {
        logic.Open(dir.Write("test.ts2", MakeTs2(ValidTestLines(3))));
        logic.Select(1);
    }
    std::vector<std::string> Lines() const { return DocumentLines(logic.Document()); }
    // The checks kept question by question are those of the whole test.
    bool ChecksCurrent() const {
        const auto all = CheckDocument(logic.Document(), regional, measure);
        const auto& kept = logic.Checks();
        if (all.size() != kept.size())
            return false;
        for (std::size_t i = 0; i < all.size(); ++i)
            if (!(all[i].where == kept[i].where) || all[i].text != kept[i].text)
                return false;
        return true;
    }

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
        EXPECT_TRUE(ChecksCurrent()) << c.name;
        logic.Undo();
        EXPECT_EQ(Lines(), before) << c.name;
        EXPECT_TRUE(ChecksCurrent()) << c.name;
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
    EXPECT_EQ(logic.DisplayName(), "zrodlo.txt");
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
    // While a question's points are no number there is no sum to show.
    logic.SetMaxPointsByHand(false);
    logic.SetText({TField::Points, 1}, "x");
    EXPECT_EQ(logic.Text({TField::MaxPoints}), "");
}

TEST_F(TEditorFixture, TwoEditorsOnOneFileNeverLoseASavedChange) {
    TEdytorLogic other{regional, measure, TDate{2026, 12, 8}};
    other.Open(logic.Path());
    logic.SetText({TField::Author}, "Anna Nowak");
    ASSERT_EQ(logic.Save(), TSaveOutcome::Saved);

    // The second editor is told before anything is replaced, and when it
    // keeps its own test, that test counts as unsaved.
    EXPECT_TRUE(other.ChangedOnDisk());
    EXPECT_FALSE(other.DiskChangeNoticed());
    other.NoticeDiskChange();
    EXPECT_TRUE(other.DiskChangeNoticed());
    EXPECT_TRUE(other.Modified());
    other.SetText({TField::Description}, "Opis z drugiego okna");
    EXPECT_EQ(other.Save(), TSaveOutcome::ChangedOnDisk);
    EXPECT_EQ(TTestFile::ReadFile(logic.Path()).Line(2), "Anna Nowak");
    // Opening the file again brings both changes together.
    other.Open(logic.Path());
    EXPECT_EQ(other.Document().author, "Anna Nowak");
    other.SetText({TField::Description}, "Opis z drugiego okna");
    ASSERT_EQ(other.Save(), TSaveOutcome::Saved);
    EXPECT_FALSE(other.ChangedOnDisk());

    // Replacing is the teacher's explicit choice.
    EXPECT_TRUE(logic.ChangedOnDisk());
    logic.SetText({TField::Author}, "Jan Kowalski");
    ASSERT_EQ(logic.Save(true), TSaveOutcome::Saved);
    EXPECT_FALSE(logic.ChangedOnDisk());
}

TEST_F(TEditorFixture, AReadOnlyTestIsNotReplaced) {
    const std::string path = logic.Path();
    const std::string before = TTestFile::ReadFile(path).Line(2);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    logic.SetText({TField::Author}, "Anna Nowak");
    EXPECT_EQ(logic.Save(), TSaveOutcome::ReadOnly);
    EXPECT_EQ(logic.SaveAs(path), TSaveOutcome::ReadOnly);
    EXPECT_EQ(TTestFile::ReadFile(path).Line(2), before);
    EXPECT_TRUE(logic.Modified());
    ASSERT_EQ(logic.SaveAs((dir.path() / "kopia.ts2").string()), TSaveOutcome::Saved);
}

TEST_F(TEditorFixture, ADraftWithErrorsAndAnyCharacterIsKeptAndOpensAgain) {
    logic.SetText({TField::Text, 1}, "Ile to jest ½ z 10?");
    logic.SetText({TField::Points, 2}, "");
    ASSERT_EQ(logic.Save(), TSaveOutcome::HasErrors);
    const auto lines = Lines();

    const std::string draft = logic.SaveDraft((dir.path() / "szkic").string());
    EXPECT_EQ(draft, (dir.path() / "szkic.txt").string());
    EXPECT_FALSE(logic.Modified());

    TEdytorLogic again{regional, measure, TDate{2026, 12, 8}};
    again.Open(draft);
    EXPECT_EQ(DocumentLines(again.Document()), lines);
    EXPECT_EQ(again.DraftPath(), draft);
    EXPECT_EQ(again.ChecksOf({TField::Text, 1}).size(), 1u);
    EXPECT_EQ(again.ChecksOf({TField::Points, 2}).size(), 1u);

    // Finished, it becomes the test beside the draft.
    again.SetText({TField::Text, 1}, "Ile to jest połowa z 10?");
    again.SetText({TField::Points, 2}, "2");
    ASSERT_EQ(again.ErrorCount(), 0);
    EXPECT_EQ(again.SuggestedPath(), (dir.path() / "szkic.ts2").string());
    ASSERT_EQ(again.SaveAs(again.SuggestedPath()), TSaveOutcome::Saved);
    EXPECT_TRUE(ValidateTest(TTestFile::ReadFile(again.Path()), regional));
}

TEST_F(TEditorFixture, ATestKeptAtTheEndIsOfferedToTheNextEditorOnly) {
    const auto folder = dir.path() / "dane";
    logic.SetText({TField::Text, 1}, "Niedokończone ½");
    const auto lines = Lines();
    // Kept on the keeper's thread, the newest text only; the editor that
    // kept it still runs: nothing to offer.
    {
        TRecoveryKeeper keeper(folder, static_cast<unsigned long>(::getpid()));
        keeper.Keep("starszy tekst", "inny.ts2");
        keeper.Keep(TextSourceBytes(logic.Document()), logic.Path());
    }
    EXPECT_FALSE(FindRecovery(folder));

    const unsigned long gone = 0x7FFFFFF0ul; // beyond any process id given out
    std::filesystem::rename(folder / ("edytor-odzysk-" + std::to_string(::getpid()) + ".txt"),
                            folder / ("edytor-odzysk-" + std::to_string(gone) + ".txt"));
    std::filesystem::rename(folder / ("edytor-odzysk-" + std::to_string(::getpid()) + ".plik"),
                            folder / ("edytor-odzysk-" + std::to_string(gone) + ".plik"));
    const auto found = FindRecovery(folder);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->belongsTo, logic.Path());

    TEdytorLogic next{regional, measure, TDate{2026, 12, 8}};
    next.OpenRecovered(found->draft.string(), found->belongsTo);
    EXPECT_EQ(DocumentLines(next.Document()), lines);
    EXPECT_EQ(next.Path(), logic.Path());
    EXPECT_TRUE(next.Modified());
    DiscardRecovery(*found);
    EXPECT_FALSE(FindRecovery(folder));
}
