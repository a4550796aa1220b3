#pragma once

#include "LockdownRecorder.h"

#include <string>
#include <vector>

// The recorded calls as texts, "ShowDesktopIcons(false)" ..., to compare whole.
inline std::vector<std::string> Names(const std::vector<kwizmar::TLockdownCall>& calls) {
    std::vector<std::string> out;
    for (const auto& c : calls)
        out.push_back(c.ToString());
    return out;
}
