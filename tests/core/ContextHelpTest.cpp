#include "ContextHelp.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

using namespace kwizmar;

TEST(ContextHelp, ControlsSharingAHandlerShareTheirLines) {
    for (auto [a, b] :
         {std::pair{"SpeedButton6", "SpeedButton12"}, std::pair{"SpeedButton8", "SpeedButton13"},
          std::pair{"A", "odpE"}, std::pair{"L1", "L3"}, std::pair{"naglowek1", "naglowek2"}})
        EXPECT_EQ(HelpFor(a), HelpFor(b)) << a << " " << b;
    EXPECT_NE(HelpFor("SpeedButton6"), HelpFor("SpeedButton8"));
    EXPECT_STREQ(HelpFor("SpeedButton10")->H2,
                 "Znajdują się tu wpisy o wszystkich ostatnio \"rozwalanych\" przez ciebie "
                 "testach [Alt+S]");
    EXPECT_STREQ(HelpFor("SETime")->H3, "");
}

// A name listed twice would only ever give its first lines; every control the
// table names says at least two lines. (That each name is a control of the
// main window is checked on the window itself.)
TEST(ContextHelp, EachNamedControlHasItsOwnLines) {
    std::set<std::string_view> seen;
    for (std::string_view name : HelpControlNames()) {
        EXPECT_TRUE(seen.insert(name).second) << name << " is named twice";
        const THelpEntry* help = HelpFor(name);
        ASSERT_NE(help, nullptr) << name;
        EXPECT_STRNE(help->H1, "") << name;
        EXPECT_STRNE(help->H2, "") << name;
    }
    EXPECT_FALSE(seen.empty());
}

TEST(ContextHelp, FiguresGroupsAndOcenyGiveNone) {
    for (const char* none :
         {"SpeedButton11", "GroupBox1", "GroupBox2", "GroupBox3", "Linia1", "Directory",
          "ZdobytoPkt", "PytBar", "minuty", "RxLabel1", "RxLabel10", "HP", "H1", "Panel3", ""})
        EXPECT_EQ(HelpFor(none), nullptr) << none;
}

TEST(ContextHelp, PanelStandsByThePointerAndStaysInsideTheWindow) {
    const TWindowFrame window{100, 50, 610, 340, 610, 340};
    // Offset from the window's outer corner, so it sits below and right of the pointer tip.
    THelpPlacement p = PlaceHelpPanel({300, 200}, window, 200, 44);
    EXPECT_EQ(p.left, 200);
    EXPECT_EQ(p.top, 150);
    // Exactly at the right edge it stays; one pixel more and it is pulled in to 8 px inside.
    EXPECT_EQ(PlaceHelpPanel({510, 200}, window, 200, 44).left, 410);
    EXPECT_EQ(PlaceHelpPanel({511, 200}, window, 200, 44).left, 610 - 200 - 8);
    // Within 18 px of the bottom it jumps to 36 px above it.
    EXPECT_EQ(PlaceHelpPanel({300, 328}, window, 200, 44).top, 278);
    EXPECT_EQ(PlaceHelpPanel({300, 329}, window, 200, 44).top, 340 - 44 - 36);
    // A panel too wide or too tall for the rules starts at the window's corner;
    // a pointer far off screen doesn't overflow.
    EXPECT_EQ(PlaceHelpPanel({300, 200}, window, 700, 44).left, 0);
    EXPECT_EQ(PlaceHelpPanel({300, 329}, window, 200, 400).top, 0);
    EXPECT_EQ(PlaceHelpPanel({-2147483647, 200}, window, 200, 44).left, 0);
    // A frame 8 px wide with a 31 px title bar: the rules alone would leave the
    // panel's end outside the client area.
    const TWindowFrame framed{100, 50, 610, 340, 594, 301};
    const THelpPlacement low = PlaceHelpPanel({300, 327}, framed, 200, 44);
    EXPECT_EQ(low.top, 301 - 44);
    const THelpPlacement right = PlaceHelpPanel({505, 200}, framed, 200, 44);
    EXPECT_EQ(right.left, 594 - 200);
    EXPECT_EQ(PlaceHelpPanel({300, 200}, framed, 200, 44).top, 150); // elsewhere the rules hold
}
