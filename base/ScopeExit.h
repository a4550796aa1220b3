#pragma once

#include <utility>

namespace kwizmar {

// Runs `step` when the scope is left, by a return or by an exception: the part
// of an operation that must happen whatever else fails.
template <class F> class TScopeExit {
public:
    explicit TScopeExit(F step) : step_(std::move(step)) {}
    ~TScopeExit() { step_(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    F step_;
};

} // namespace kwizmar
