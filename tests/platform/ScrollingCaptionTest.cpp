#include "ScrollingCaption.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kwizmar;

TEST(ScrollingCaption, StartsAsTheMainWindowConfiguresIt) {
    TScrollingCaption caption;
    EXPECT_EQ(caption.Text(), "Nerbaly Kwizmar 2002");
    EXPECT_EQ(caption.Space, "     ");
    EXPECT_FALSE(caption.IsMainWindow);
    EXPECT_FALSE(caption.Enabled());
    EXPECT_EQ(caption.Interval(), 200);
    EXPECT_EQ(caption.ApplicationTitle(), "Kwizmar 2002");
    caption.Step(); // not enabled: nothing
    EXPECT_EQ(caption.WindowTitle(), "");
}

TEST(ScrollingCaption, RotatesLeftAndRepeatsEveryLSteps) {
    TScrollingCaption caption("abc", "App");
    caption.Space = "__";
    std::vector<std::string> titles;
    caption.OnWindowTitle = [&](const std::string& t) { titles.push_back(t); };
    caption.SetEnabled(true);
    for (int i = 0; i < 6; ++i)
        caption.Step();
    const std::vector<std::string> expected = {"abc",   "abc__", "bc__a", "c__ab",
                                               "__abc", "_abc_", "abc__"};
    EXPECT_EQ(titles, expected);
    EXPECT_EQ(caption.Position(), 2);
    EXPECT_EQ(caption.ApplicationTitle(), "App"); // IsMainWindow false
}

TEST(ScrollingCaption, TaskbarTitleFollowsOnlyWhileIsMainWindow) {
    TScrollingCaption caption("abc", "App");
    caption.Space = std::string(1, '_');
    caption.IsMainWindow = true;
    caption.SetEnabled(true);
    EXPECT_EQ(caption.ApplicationTitle(), "abc");
    caption.Step();
    caption.Step();
    EXPECT_EQ(caption.ApplicationTitle(), "bc_a");
    caption.IsMainWindow = false; // frozen at the last rotated text
    caption.Step();
    EXPECT_EQ(caption.WindowTitle(), "c_ab");
    EXPECT_EQ(caption.ApplicationTitle(), "bc_a");
    caption.IsMainWindow = true;
    caption.Step();
    EXPECT_EQ(caption.ApplicationTitle(), "_abc");
}

TEST(ScrollingCaption, SwitchingOffShowsThePlainTextAndRestarts) {
    TScrollingCaption caption("ab", "App");
    caption.SetEnabled(true);
    caption.Step();
    caption.Step();
    caption.SetEnabled(false);
    EXPECT_EQ(caption.WindowTitle(), "ab");
    EXPECT_EQ(caption.Position(), 1);
    caption.Step();
    EXPECT_EQ(caption.WindowTitle(), "ab");
}

TEST(ScrollingCaption, PolishLettersMoveWhole) {
    TScrollingCaption caption("Łódź", "App");
    caption.Space = "";
    caption.SetEnabled(true);
    caption.Step();
    caption.Step();
    EXPECT_EQ(caption.WindowTitle(), "ódźŁ");
}
