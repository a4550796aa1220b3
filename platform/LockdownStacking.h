#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string_view>
#include <vector>

// Where a desktop with a window manager of its own (X11 under EWMH) lets the
// program lock it down itself, the program puts a curtain over the desktop and
// the panels: a window of its own above every other program's window and
// below every window of the program. What goes where is decided here, on the
// window manager's stacking order and the lockdown's operations; the window
// system's side only reads the order and carries the decision out.

namespace kwizmar {

// A window as the window system names it; kNoWindow is none.
using TWindowId = std::uint32_t;
inline constexpr TWindowId kNoWindow = 0;

// The five operations that hide and disable, as last told (true = normal).
struct TCurtainOptions {
    bool desktopIcons = true, desktopView = true;
    bool taskbar = true, taskbarEnabled = true, startButton = true;
};

// The curtain covers the panels (the whole screen) while any of the taskbar's
// three is off, and the work area while only the desktop's two are.
bool CurtainCoversPanels(const TCurtainOptions& options);
// There is a curtain while any of the five is off.
bool CurtainWanted(const TCurtainOptions& options);

// The stacking order as the window manager gives it, bottom first, and the
// windows in it.
struct TStacking {
    std::vector<TWindowId> order;
    TWindowId curtain = kNoWindow;
    std::set<TWindowId> own;      // the program's windows, the curtain not among them
    TWindowId active = kNoWindow; // the program's active window, one of `own`
};

// The program's window the restacking keeps on top: the one the window manager
// names active, when it is one of the program's (`own`); else the one with the
// keyboard focus, when it is one of them; else none. The window manager's word
// comes first: the program learns of a new active window only once the focus
// has moved, and a window the window manager has just shown and activated
// would meanwhile be put below the one that had the focus.
TWindowId ActiveOwnWindow(TWindowId windowManagersActive, TWindowId focus,
                          const std::set<TWindowId>& own);

// Whether `now` is to be put right: the window manager has the curtain in its
// order, and the order or the active window differ from `last`, the one put
// right last time (the same again is the window manager having done what it
// does with the requests).
bool RestackingDue(const TStacking& now, const TStacking& last);

// What to ask of the window manager, in this order.
struct TRestacking {
    // The program's windows to ask into the upper layer, where the curtain is.
    std::vector<TWindowId> intoUpperLayer;
    // The windows to raise to the top one after the other: the curtain when
    // another program's window is above it; then, when one of the program's
    // windows is below the curtain or the active one is covered, all of them,
    // the active one last.
    std::vector<TWindowId> raise;
    // The window to make active (kNoWindow: none): a window of the program
    // below the curtain may be in a lower layer than the curtain, and once a
    // window of the program is active, the window manager puts the curtain back
    // in the upper layer of ordinary windows.
    TWindowId activate = kNoWindow;
    // The windows asked into the upper layer that are still there: `askedUp`
    // as it stands after this restacking.
    std::set<TWindowId> askedUp;

    bool operator==(const TRestacking&) const = default;
};

// The restacking of `now` (with RestackingDue true): `askedUp` are the windows
// asked into the upper layer before, `upperOfTheirOwn` those of the program's
// windows not in `askedUp` that the window manager already keeps there.
TRestacking DecideRestacking(const TStacking& now, const std::set<TWindowId>& askedUp,
                             const std::set<TWindowId>& upperOfTheirOwn);

// When the curtain goes: the windows asked into the upper layer that the
// window manager still has, to go back to the layer they came from.
std::vector<TWindowId> BackFromUpperLayer(const std::vector<TWindowId>& order,
                                          const std::set<TWindowId>& askedUp);

// The window managers whose stacking order (_NET_CLIENT_LIST_STACKING) is the
// real one and which take restacking requests (_NET_RESTACK_WINDOW): with
// them the curtain is a window they manage, kept in its place through them.
// Under any other (xfwm4, marco, IceWM, Fluxbox, none at all) the curtain is
// the program's own window, outside the window manager (override-redirect),
// and the program keeps it in its place in the X server's real stacking
// order itself: right below its own windows, which it asks to be raised
// above every other program's window.
bool KeepsItsStackingTrue(std::string_view windowManagerName, bool supportsRestacking);

// The real stacking order of the screen (the root window's children, bottom
// first, those on the screen only) under a window manager that doesn't keep
// the curtain's place.
struct TRealStacking {
    std::vector<TWindowId> order;
    TWindowId curtain = kNoWindow;
    // Each of the program's windows on the screen (the curtain not among
    // them) and the window in `order` that holds it: the window manager's
    // frame, or the window itself.
    std::map<TWindowId, TWindowId> frameOf;
    TWindowId active = kNoWindow; // the program's window to be on top, one of frameOf's
    bool operator==(const TRealStacking&) const = default;
};

struct TOwnRestacking {
    // The program's windows to ask the window manager to raise, one after the
    // other, the active one last.
    std::vector<TWindowId> raise;
    // The frame right below which the curtain goes (kNoWindow: it stays).
    TWindowId curtainBelow = kNoWindow;
    bool operator==(const TOwnRestacking&) const = default;
};

// Another program's window above the lowest of the program's, or the active
// one covered by another of the program's: the program's windows are raised
// (the curtain follows them at the next look). Else the curtain goes right
// below the lowest of the program's windows where it isn't there.
TOwnRestacking DecideOwnRestacking(const TRealStacking& now);

} // namespace kwizmar
