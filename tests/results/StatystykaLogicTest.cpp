#include "StatystykaLogic.h"

#include "LogScratch.h"
#include "PendingResults.h"
#include "PrintLayout.h"

#include <gtest/gtest.h>

using namespace kwizmar;

namespace {

// Every character is 10 pixels wide, whatever the font.
class TFixedMeasure final : public ITextMeasure {
public:
    int TextWidth(std::string_view utf8, const TFontSpec&) const override {
        int n = 0;
        for (unsigned char c : utf8)
            n += (c & 0xC0) != 0x80;
        return n * 10;
    }
};

struct Buttons {
    bool usun, wyczysc, zapisz;
    bool operator==(const Buttons&) const = default;
};

Buttons Of(const TStatystykaLogic& logic) {
    return {logic.view().SpeedButton2, logic.view().SpeedButton4, logic.view().SpeedButton3};
}

// The statistics window's logic on a log of its own.
class Statystyka : public ::testing::Test {
protected:
    TLogScratch scratch;
    TResultsLog log{scratch.Registry()};
    TFixedMeasure measure;
    bool locked = false;
    TStatystykaLogic logic{log, [this] { return locked; }, measure};
};

} // namespace

TEST_F(Statystyka, ButtonStatesFollowTheTable) {
    WriteBytes(scratch.Log(), "1. a\r\n2. bb\r\n3. ccc\r\n");

    logic.FormShow();
    EXPECT_EQ(logic.lines().size(), 3u);
    EXPECT_EQ(Of(logic), (Buttons{false, true, false})); // just shown, not locked
    logic.ListBox1Click(1, 500);
    EXPECT_EQ(Of(logic), (Buttons{true, true, false})); // a line selected
    logic.SpeedButton2Click();
    EXPECT_EQ(Of(logic), (Buttons{false, true, true})); // after delete
    logic.SpeedButton2Click();                          // nothing selected again: no second delete
    EXPECT_EQ(logic.lines(), (std::vector<std::string>{"1. a", "3. ccc"}));
    logic.SpeedButton3Click();
    EXPECT_EQ(Of(logic), (Buttons{false, true, false})); // after save
    logic.SpeedButton4Click();
    EXPECT_EQ(Of(logic), (Buttons{false, false, true})); // after clear
    EXPECT_TRUE(logic.lines().empty());
    // Clearing and deleting changed only the list until the save.
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. a\r\n3. ccc\r\n");
    logic.SpeedButton3Click();
    EXPECT_EQ(ReadBytes(scratch.Log()), "");

    // Shown again on the empty log, then on a missing one: nothing to clear.
    logic.FormShow();
    EXPECT_EQ(Of(logic), (Buttons{false, false, false}));
    std::filesystem::remove(scratch.Log());
    logic.FormShow();
    EXPECT_EQ(Of(logic), (Buttons{false, false, false}));
}

TEST_F(Statystyka, DeletingTheOnlyLineLeavesClearEnabledAndClearingTheEmptyListSaves) {
    WriteBytes(scratch.Log(), "1. jedyna\r\n");
    logic.FormShow();
    logic.ListBox1Click(0, 500);
    logic.SpeedButton2Click();
    EXPECT_EQ(Of(logic), (Buttons{false, true, true}));
    logic.SpeedButton3Click();
    logic.SpeedButton4Click();
    EXPECT_EQ(Of(logic), (Buttons{false, false, true}));
}

TEST_F(Statystyka, TheLockIsReadAtEachUse) {
    locked = true;
    WriteBytes(scratch.Log(), "1. a\r\n2. b\r\n");

    logic.FormShow();
    EXPECT_EQ(Of(logic), (Buttons{false, false, false}));
    logic.ListBox1Click(0, 500);
    EXPECT_EQ(Of(logic), (Buttons{false, false, false}));
    EXPECT_EQ(logic.view().selected, 0);
    // The disabled buttons do nothing.
    logic.SpeedButton2Click();
    logic.SpeedButton4Click();
    EXPECT_EQ(logic.lines().size(), 2u);
    EXPECT_EQ(Of(logic), (Buttons{false, false, false}));

    // Unlocked while the window stays open: the next selection follows.
    locked = false;
    logic.ListBox1Click(1, 500);
    EXPECT_EQ(Of(logic), (Buttons{true, true, false}));
    locked = true;
    logic.ListBox1Click(0, 500);
    EXPECT_EQ(Of(logic), (Buttons{false, false, false}));
}

// The widest line sets the extent from the showing on, whatever is selected;
// a delete or a clear measures again.
TEST_F(Statystyka, TheWidestLineSetsTheHorizontalExtent) {
    WriteBytes(scratch.Log(), "1. krótka\r\n" + std::string(60, 'x') + "\r\n2. średnia\r\n");
    logic.FormShow();
    logic.ListBox1Resize(500);
    EXPECT_EQ(logic.view().horizontalExtent, 620);
    logic.ListBox1Click(0, 500);
    EXPECT_EQ(logic.view().horizontalExtent, 620);
    // Exactly as wide as the list: no scroll bar.
    logic.ListBox1Resize(600);
    EXPECT_EQ(logic.view().horizontalExtent, 0);
    logic.ListBox1Click(1, 500);
    logic.SpeedButton2Click();
    EXPECT_EQ(logic.view().horizontalExtent, 0);
    logic.SpeedButton4Click();
    logic.ListBox1Resize(50);
    EXPECT_EQ(logic.view().horizontalExtent, 0);
}

TEST_F(Statystyka, DeleteThenSaveKeepsTheNumbersAndTheNextExamCountsOn) {
    WriteBytes(scratch.Log(), "1. a\r\n2. b\r\n3. c\r\n4. d\r\n");
    logic.FormShow();
    logic.ListBox1Click(0, 500);
    logic.SpeedButton2Click();
    logic.ListBox1Click(1, 500);
    logic.SpeedButton2Click();
    logic.SpeedButton3Click();
    EXPECT_EQ(ReadBytes(scratch.Log()), "2. b\r\n4. d\r\n");
    EXPECT_EQ(log.AppendResultLine("e"), 3);
    EXPECT_EQ(ReadBytes(scratch.Log()), "2. b\r\n4. d\r\n3. e\r\n");
}

TEST_F(Statystyka, UnsavedEditsAreLostAtTheNextShowing) {
    WriteBytes(scratch.Log(), "1. a\r\n2. b\r\n");
    logic.FormShow();
    logic.SpeedButton4Click();
    logic.FormShow();
    EXPECT_EQ(logic.lines().size(), 2u);
    EXPECT_EQ(Of(logic), (Buttons{false, true, false}));
}

TEST_F(Statystyka, AnUnreadableLogStillLeavesTheButtonsForTheListAsItIs) {
    WriteBytes(scratch.Log(), "1. a\r\n");
    logic.FormShow();
    logic.ListBox1Click(0, 500);
    std::filesystem::remove(scratch.Log());
    std::filesystem::create_directory(scratch.Log()); // exists, can't be read as a file
    EXPECT_THROW(logic.FormShow(), std::exception);
    EXPECT_TRUE(logic.lines().empty());
    EXPECT_EQ(Of(logic), (Buttons{false, false, false}));
}

TEST_F(Statystyka, ARefusedSaveShowsTheLogAsAnotherCopyLeftIt) {
    WriteBytes(scratch.Log(), "1. a\r\n2. b\r\n");
    logic.FormShow();
    logic.SpeedButton4Click();
    WriteBytes(scratch.Log(), "2. b\r\n"); // another copy's save
    EXPECT_THROW(logic.SpeedButton3Click(), EResultsLogChanged);
    EXPECT_EQ(logic.lines(), std::vector<std::string>{"2. b"});
    EXPECT_EQ(Of(logic), (Buttons{false, true, false}));
    EXPECT_EQ(ReadBytes(scratch.Log()), "2. b\r\n");
}

// The window tells how many results wait on this computer, in Polish
// numerals, and says nothing while none wait.
TEST_F(Statystyka, TheResultsWaitingOnThisComputerAreCountedUnderTheList) {
    logic.FormShow();
    EXPECT_EQ(logic.view().waitingNote, "");
    ASSERT_TRUE(TPendingResults::Keep("a") && TPendingResults::Keep("b"));
    logic.FormShow();
    EXPECT_EQ(logic.view().waitingNote,
              "Na tym komputerze czekają 2 wyniki, które jeszcze nie trafiły do pliku wyników; są "
              "bezpieczne w pliku " +
                  Utf8FromPath(TPendingResults::File()) + " i zostaną dopisane same.");
    const struct {
        std::size_t count;
        const char* counted;
    } cases[] = {{1, "czeka 1 wynik,"},      {4, "czekają 4 wyniki,"},
                 {5, "czeka 5 wyników,"},    {12, "czeka 12 wyników,"},
                 {22, "czekają 22 wyniki,"}, {111, "czeka 111 wyników,"}};
    for (const auto& c : cases)
        EXPECT_NE(WaitingNote(c.count, "x").find(c.counted), std::string::npos) << c.count;
}

TEST(StatystykaPrint, LinesWrapAfterTheLastCharacterThatFitsAndBreakIntoPages) {
    TFixedMeasure measure;
    const TFontSpec font = TStatystykaLogic::ListFont();
    // 5 characters to a printed line, 3 printed lines to a page.
    const auto pages =
        PrintLayout({"1. ab", "2. ąęśćżźół", "", "3. xyz"}, measure, font, 50, 45, 13);
    const std::vector<TPrintPage> expected = {
        {"1. ab", "2. ąę", "śćżźó"}, {"ł", "", "3. xy"}, {"z"}};
    EXPECT_EQ(pages, expected);

    EXPECT_TRUE(PrintLayout({}, measure, font, 50, 45, 13).empty());
    // A character wider than the page still gets a printed line, and a page
    // lower than one line still holds one.
    EXPECT_EQ(PrintLayout({"abc"}, measure, font, 5, 5, 13),
              (std::vector<TPrintPage>{{"a"}, {"b"}, {"c"}}));
}

// A long line is wrapped in time proportional to its length: twice the line,
// about twice the text measured, where measuring the rest of the line for
// each printed line would take four times as much.
TEST(StatystykaPrint, WrappingMeasuresTextInProportionToTheLinesLength) {
    class TCountingMeasure final : public ITextMeasure {
    public:
        int TextWidth(std::string_view utf8, const TFontSpec& font) const override {
            measured += utf8.size();
            return fixed.TextWidth(utf8, font);
        }
        mutable std::size_t measured = 0;
        TFixedMeasure fixed;
    };
    auto measuredFor = [](std::size_t length) {
        TCountingMeasure measure;
        const auto pages = PrintLayout({std::string(length, 'x')}, measure,
                                       TStatystykaLogic::ListFont(), 1000, 60000, 13);
        EXPECT_EQ(pages.size(), 1u);
        EXPECT_EQ(pages.front().size(), length / 100);
        return double(measure.measured);
    };
    EXPECT_LT(measuredFor(40000) / measuredFor(20000), 2.5);
}

// Whatever the printed lines before it held, each printed line takes the most
// characters that fit: the layout against a plain character-by-character
// break, on lines of letters of unequal widths.
TEST(StatystykaPrint, EachPrintedLineTakesTheMostCharactersThatFit) {
    class TUnequalMeasure final : public ITextMeasure {
    public:
        int TextWidth(std::string_view utf8, const TFontSpec&) const override {
            int width = 0;
            for (unsigned char c : utf8)
                width += c == ' ' ? 3 : 4 + c % 9;
            return width;
        }
    } measure;
    const TFontSpec font = TStatystykaLogic::ListFont();
    std::vector<std::string> lines;
    unsigned seed = 7;
    for (int i = 0; i < 60; ++i) {
        std::string line;
        for (int n = int((seed = seed * 1103515245 + 12345) >> 16) % 400; n > 0; --n)
            line += char('a' + ((seed = seed * 1103515245 + 12345) >> 16) % 27 % 26);
        lines.push_back(i % 7 == 3 ? line.substr(0, 3) : line); // short ones between
    }
    for (const int pageWidth : {9, 100, 333}) {
        SCOPED_TRACE(pageWidth);
        std::vector<std::string> expected;
        for (const std::string& line : lines) {
            std::size_t first = 0;
            do {
                std::size_t n = 1;
                while (first + n < line.size() &&
                       measure.TextWidth(line.substr(first, n + 1), font) <= pageWidth)
                    ++n;
                expected.push_back(line.substr(first, n));
                first += n;
            } while (first < line.size());
        }
        std::vector<std::string> printed;
        for (const TPrintPage& page : PrintLayout(lines, measure, font, pageWidth, 1000, 13))
            printed.insert(printed.end(), page.begin(), page.end());
        EXPECT_EQ(printed, expected);
    }
}
