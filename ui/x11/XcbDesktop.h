#pragma once

#include "LockdownStacking.h"

#include <xcb/xcb.h>

#include <QRect>

#include <memory>
#include <string>
#include <vector>

namespace kwizmar {

// The X server and its window manager as the lockdown deals with them: what it
// reads of the root window (the window manager, what it supports, its stacking
// order and active window), what it asks of the window manager (EWMH client
// messages, sent as a pager sends them, whose wishes are the user's own) and
// the keyboard grab. Nothing here decides; the order of the requests is the
// caller's, and they go out on Flush (or with the next request that waits for
// an answer).
class TXcbDesktop {
public:
    // The application's own connection: none off screen or on Wayland. Asks
    // for the root window's property changes.
    static std::unique_ptr<TXcbDesktop> OfApplication();

    // A change of the root window that the lockdown follows: the stacking
    // order, the active window, the window manager or what it supports.
    bool IsFollowedChange(const xcb_generic_event_t* event) const;

    // The window the running window manager names itself by; kNoWindow while
    // there is none.
    TWindowId WindowManager() const;
    // The window manager keeps a stacking order, an upper layer and takes
    // restacking requests.
    bool SupportsStacking() const;
    // The name the window manager gives itself (_NET_WM_NAME); empty for none.
    std::string WindowManagerName() const;
    // The X server's own stacking order: the root window's children on the
    // screen, bottom first.
    std::vector<TWindowId> RealStackingOrder() const;
    // The root window's child that holds `window` (a window manager's frame,
    // or the window itself); kNoWindow where it is gone.
    TWindowId TopLevelOf(TWindowId window) const;
    // Asks for `window` on top, as a program asks for its own window; a window
    // manager gets it as a request, and where there is none it is done.
    void RaiseOwn(TWindowId window);
    // Puts a window outside the window manager (the curtain) right below `sibling`.
    void PutBelow(TWindowId window, TWindowId sibling);
    // Bottom first.
    std::vector<TWindowId> StackingOrder() const;
    TWindowId ActiveWindow() const;
    bool InUpperLayer(TWindowId window) const;

    // Out of the task list and the pager; the window manager may only ask it
    // to close.
    void MarkAsCurtain(TWindowId window);
    // Moved and sized as a pager asks, which a window manager doesn't keep out
    // of the panels' strips; `area` in the screen's pixels.
    void MoveResize(TWindowId window, const QRect& area);
    void SetUpperLayer(TWindowId window, bool on);
    // The older GNOME hint some window managers (IceWM) keep their layers by:
    // above their docks and panels, or back among the ordinary windows.
    void SetAboveDocks(TWindowId window, bool on);
    void Raise(TWindowId window);
    void Activate(TWindowId window);
    void Flush();

    enum class TGrab {
        Taken,
        NotViewable, // not on the screen (yet)
        Refused,     // another program holds the keyboard
    };
    TGrab GrabKeyboard(TWindowId window);
    void UngrabKeyboard();
    // The mouse held on the program's windows (`window` takes the presses
    // that fall outside them). False where another program holds it.
    bool GrabPointer(TWindowId window);
    void UngrabPointer();

    explicit TXcbDesktop(xcb_connection_t* connection);

private:
    std::vector<std::uint32_t> Values(xcb_window_t window, xcb_atom_t property,
                                      xcb_atom_t type) const;
    void Send(xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1,
              std::uint32_t d2, std::uint32_t d3 = 0, std::uint32_t d4 = 0);

    struct TAtoms {
        explicit TAtoms(xcb_connection_t* c);
        xcb_atom_t supported, check, stacking, state, above, skipTaskbar, skipPager, restack,
            moveResize, active, protocols, deleteWindow, name, winLayer;
    };

    xcb_connection_t* c_;
    xcb_window_t root_;
    TAtoms atoms_;
};

} // namespace kwizmar
