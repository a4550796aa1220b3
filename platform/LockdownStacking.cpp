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

bool KeepsItsStackingTrue(std::string_view name, bool supportsRestacking) {
    if (!supportsRestacking)
        return false;
    for (std::string_view known : {"Openbox", "Metacity", "Mutter", "GNOME Shell", "KWin"})
        if (name.starts_with(known))
            return true;
    return false;
}

TOwnRestacking DecideOwnRestacking(const TRealStacking& now) {
    TOwnRestacking restacking;
    std::set<TWindowId> frames;
    for (const auto& [window, frame] : now.frameOf)
        frames.insert(frame);
    const auto at = [&](TWindowId w) {
        return std::size_t(std::find(now.order.begin(), now.order.end(), w) - now.order.begin());
    };
    std::size_t lowest = now.order.size();
    for (TWindowId frame : frames)
        lowest = std::min(lowest, at(frame));
    if (lowest == now.order.size())
        return restacking; // none of the program's windows on the screen
    bool otherAbove = false;
    for (std::size_t i = lowest + 1; i < now.order.size(); ++i)
        otherAbove = otherAbove || (!frames.count(now.order[i]) && now.order[i] != now.curtain);
    const auto active = now.frameOf.find(now.active);
    const bool activeCovered = active != now.frameOf.end() &&
                               at(active->second) + 1 < now.order.size() &&
                               frames.count(now.order.back()) && now.order.back() != active->second;
    if (otherAbove || activeCovered) {
        // In their order, the active one last.
        std::vector<std::pair<std::size_t, TWindowId>> own;
        for (const auto& [window, frame] : now.frameOf)
            if (window != now.active)
                own.emplace_back(at(frame), window);
        std::sort(own.begin(), own.end());
        if (otherAbove)
            for (const auto& [place, window] : own)
                restacking.raise.push_back(window);
        if (active != now.frameOf.end())
            restacking.raise.push_back(now.active);
        return restacking;
    }
    if (now.curtain != kNoWindow && (lowest == 0 || now.order[lowest - 1] != now.curtain))
        restacking.curtainBelow = now.order[lowest];
    return restacking;
}

} // namespace kwizmar
