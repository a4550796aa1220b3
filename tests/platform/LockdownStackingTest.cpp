#include "LockdownStacking.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

using namespace kwizmar;

namespace {

// Another program's windows, the curtain, the main window and a dialog.
constexpr TWindowId kOther = 1, kPanel = 2, kCurtain = 10, kMain = 20, kDialog = 21;

TStacking Stacking(std::vector<TWindowId> order, TWindowId active,
                   std::set<TWindowId> own = {kMain, kDialog}) {
    TStacking s;
    s.order = std::move(order);
    s.curtain = kCurtain;
    s.own = std::move(own);
    s.active = active;
    return s;
}

} // namespace

TEST(LockdownStacking, TheCurtainFollowsTheOperations) {
    struct TCase {
        const char* what;
        TCurtainOptions options;
        bool wanted, panels;
    } cases[] = {
        {"nothing off", {}, false, false},
        {"desktop icons hidden", {false, true, true, true, true}, true, false},
        {"desktop view disabled", {true, false, true, true, true}, true, false},
        {"taskbar hidden", {true, true, false, true, true}, true, true},
        {"taskbar disabled", {true, true, true, false, true}, true, true},
        {"Start button disabled", {true, true, true, true, false}, true, true},
        {"everything off", {false, false, false, false, false}, true, true},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(CurtainWanted(c.options), c.wanted) << c.what;
        EXPECT_EQ(CurtainCoversPanels(c.options), c.panels) << c.what;
    }
}

TEST(LockdownStacking, TheWindowManagersActiveWindowComesBeforeTheFocus) {
    const std::set<TWindowId> own = {kMain, kDialog};
    struct TCase {
        const char* what;
        TWindowId windowManagers, focus, active;
    } cases[] = {
        {"a dialog just shown, the focus not moved yet", kDialog, kMain, kDialog},
        {"the same window", kMain, kMain, kMain},
        {"the window manager names another program's window", kOther, kMain, kMain},
        {"the window manager names the curtain", kCurtain, kDialog, kDialog},
        {"the window manager names none", kNoWindow, kDialog, kDialog},
        {"nothing of the program's anywhere", kOther, kNoWindow, kNoWindow},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ActiveOwnWindow(c.windowManagers, c.focus, own), c.active) << c.what;
}

TEST(LockdownStacking, OnlyAChangedOrderWithTheCurtainInItIsLookedAt) {
    const TStacking last = Stacking({kOther, kCurtain, kMain}, kMain);
    struct TCase {
        const char* what;
        TStacking now;
        bool due;
    } cases[] = {
        {"the curtain not managed yet", Stacking({kOther, kMain}, kMain), false},
        {"the same as put right last", Stacking({kOther, kCurtain, kMain}, kMain), false},
        {"another active window", Stacking({kOther, kCurtain, kMain, kDialog}, kDialog), true},
        {"another order", Stacking({kCurtain, kOther, kMain}, kMain), true},
        {"the same order, the active one gone", Stacking({kOther, kCurtain, kMain}, kNoWindow),
         true},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(RestackingDue(c.now, last), c.due) << c.what;
    EXPECT_TRUE(RestackingDue(Stacking({kOther, kCurtain, kMain}, kMain), TStacking{}))
        << "nothing put right yet";
}

TEST(LockdownStacking, EachWindowGoesWhereItBelongs) {
    struct TCase {
        const char* what;
        TStacking now;
        std::set<TWindowId> askedUp, upperOfTheirOwn;
        TRestacking expected;
    } cases[] = {
        {"everything in place",
         Stacking({kOther, kCurtain, kMain}, kMain),
         {kMain},
         {},
         {{}, {}, kNoWindow, {kMain}}},
        {"a new window of the program goes into the upper layer, once",
         Stacking({kOther, kCurtain, kMain, kDialog}, kDialog),
         {kMain},
         {},
         {{kDialog}, {}, kNoWindow, {kMain, kDialog}}},
        {"a window already in the upper layer is not asked there",
         Stacking({kOther, kCurtain, kMain}, kMain),
         {},
         {kMain},
         {{}, {}, kNoWindow, {}}},
        {"a window asked up and gone is forgotten",
         Stacking({kOther, kCurtain, kMain}, kMain),
         {kMain, kDialog},
         {},
         {{}, {}, kNoWindow, {kMain}}},
        {"another program's window above the curtain: the curtain and then the program's",
         Stacking({kCurtain, kOther, kDialog, kMain, kPanel}, kDialog),
         {kMain, kDialog},
         {},
         {{}, {kCurtain, kMain, kDialog}, kNoWindow, {kMain, kDialog}}},
        {"a window of the program below the curtain is raised and made active",
         Stacking({kMain, kOther, kCurtain}, kMain),
         {kMain},
         {},
         {{}, {kMain}, kMain, {kMain}}},
        {"below the curtain with none active: the top one is made active",
         Stacking({kMain, kDialog, kOther, kCurtain}, kNoWindow),
         {kMain, kDialog},
         {},
         {{}, {kMain, kDialog}, kDialog, {kMain, kDialog}}},
        {"the active window covered by another of the program's goes on top",
         Stacking({kOther, kCurtain, kMain, kDialog}, kMain),
         {kMain, kDialog},
         {},
         {{}, {kDialog, kMain}, kNoWindow, {kMain, kDialog}}},
        {"none active and nothing of another program above: left as it is",
         Stacking({kOther, kCurtain, kMain, kDialog}, kNoWindow),
         {kMain, kDialog},
         {},
         {{}, {}, kNoWindow, {kMain, kDialog}}},
    };
    for (const TCase& c : cases) {
        const TRestacking r = DecideRestacking(c.now, c.askedUp, c.upperOfTheirOwn);
        EXPECT_EQ(r.intoUpperLayer, c.expected.intoUpperLayer) << c.what;
        EXPECT_EQ(r.raise, c.expected.raise) << c.what;
        EXPECT_EQ(r.activate, c.expected.activate) << c.what;
        EXPECT_EQ(r.askedUp, c.expected.askedUp) << c.what;
    }
}

TEST(LockdownStacking, LiftingTakesBackOnlyTheWindowsStillThere) {
    EXPECT_EQ(BackFromUpperLayer({kOther, kMain}, {kMain, kDialog}), std::vector<TWindowId>{kMain});
    EXPECT_TRUE(BackFromUpperLayer({kOther, kMain}, {}).empty());
}

// The curtain of the program's own, in the X server's real order: frames of
// the main window (120) and a dialog (121) hold them.
TEST(LockdownStacking, TheProgramsOwnCurtainGoesRightBelowItsWindowsOnceTheyAreOnTop) {
    constexpr TWindowId kMainFrame = 120, kDialogFrame = 121;
    struct TCase {
        const char* what;
        std::vector<TWindowId> order;
        TWindowId active;
        TOwnRestacking expected;
    } cases[] = {
        {"in place", {kOther, kCurtain, kMainFrame, kDialogFrame}, kDialog, {}},
        {"another program above",
         {kCurtain, kMainFrame, kOther, kDialogFrame},
         kDialog,
         {{kMain, kDialog}, kNoWindow}},
        {"the curtain on top",
         {kOther, kMainFrame, kDialogFrame, kCurtain},
         kDialog,
         {{}, kMainFrame}},
        {"a panel between",
         {kCurtain, kPanel, kMainFrame, kDialogFrame},
         kDialog,
         {{}, kMainFrame}},
        {"the active one covered",
         {kOther, kCurtain, kDialogFrame, kMainFrame},
         kDialog,
         {{kDialog}, kNoWindow}},
        {"none of the program's on the screen", {kOther, kCurtain}, kMain, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TRealStacking now;
        now.order = c.order;
        now.curtain = kCurtain;
        for (const auto& [window, frame] : {std::pair{kMain, kMainFrame}, {kDialog, kDialogFrame}})
            if (std::find(c.order.begin(), c.order.end(), frame) != c.order.end())
                now.frameOf[window] = frame;
        now.active = c.active;
        EXPECT_EQ(DecideOwnRestacking(now), c.expected);
    }
}

TEST(LockdownStacking, OnlyWindowManagersKnownToKeepTheirListTrueManageTheCurtain) {
    EXPECT_TRUE(KeepsItsStackingTrue("Openbox", true));
    EXPECT_TRUE(KeepsItsStackingTrue("KWin", true));
    EXPECT_FALSE(KeepsItsStackingTrue("Openbox", false));
    EXPECT_FALSE(KeepsItsStackingTrue("IceWM 3.3.1 (Linux/x86_64)", true));
    EXPECT_FALSE(KeepsItsStackingTrue("Xfwm4", false));
    EXPECT_FALSE(KeepsItsStackingTrue("", false));
}
