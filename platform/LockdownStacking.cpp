#include "LockdownStacking.h"

#include <algorithm>

namespace kwizmar {

namespace {

bool In(const std::vector<TWindowId>& order, TWindowId window) {
    return std::find(order.begin(), order.end(), window) != order.end();
}

} // namespace

bool CurtainCoversPanels(const TCurtainOptions& options) {
    return !options.taskbar || !options.taskbarEnabled || !options.startButton;
}

bool CurtainWanted(const TCurtainOptions& options) {
    return CurtainCoversPanels(options) || !options.desktopIcons || !options.desktopView;
}

TWindowId ActiveOwnWindow(TWindowId windowManagersActive, TWindowId focus,
                          const std::set<TWindowId>& own) {
    if (own.count(windowManagersActive))
        return windowManagersActive;
    return own.count(focus) ? focus : kNoWindow;
}

bool RestackingDue(const TStacking& now, const TStacking& last) {
    return In(now.order, now.curtain) && (now.order != last.order || now.active != last.active);
}

TRestacking DecideRestacking(const TStacking& now, const std::set<TWindowId>& askedUp,
                             const std::set<TWindowId>& upperOfTheirOwn) {
    TRestacking r;
    const auto own = [&](TWindowId w) { return now.own.count(w) > 0; };
    for (const TWindowId w : askedUp)
        if (In(now.order, w))
            r.askedUp.insert(w);
    for (const TWindowId w : now.order)
        if (own(w) && !r.askedUp.count(w) && !upperOfTheirOwn.count(w)) {
            r.intoUpperLayer.push_back(w);
            r.askedUp.insert(w);
        }

    const auto curtainAt = std::find(now.order.begin(), now.order.end(), now.curtain);
    if (curtainAt == now.order.end())
        return r;
    const bool otherAbove =
        std::any_of(curtainAt + 1, now.order.end(), [&](TWindowId w) { return !own(w); });
    const bool ownBelow = std::any_of(now.order.begin(), curtainAt, own);
    const auto topOwn = std::find_if(now.order.rbegin(), now.order.rend(), own);
    const bool activeCovered =
        now.active != kNoWindow && topOwn != now.order.rend() && *topOwn != now.active;
    if (otherAbove)
        r.raise.push_back(now.curtain);
    if (otherAbove || ownBelow || activeCovered) {
        for (const TWindowId w : now.order)
            if (own(w) && w != now.active)
                r.raise.push_back(w);
        if (now.active != kNoWindow)
            r.raise.push_back(now.active);
    }
    if (ownBelow)
        r.activate = now.active != kNoWindow ? now.active : *topOwn;
    return r;
}

std::vector<TWindowId> BackFromUpperLayer(const std::vector<TWindowId>& order,
                                          const std::set<TWindowId>& askedUp) {
    std::vector<TWindowId> back;
    for (const TWindowId w : askedUp)
        if (In(order, w))
            back.push_back(w);
    return back;
}

} // namespace kwizmar
