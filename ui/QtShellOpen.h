#pragma once

#include "AboutLogic.h"

namespace kwizmar {

// The system's "open" action through the desktop's URL handlers: an address
// with a scheme goes to its handler, anything else is opened as a local file.
// The desktop decides how the opened window shows, so the show mode is only a
// wish here.
class TQtShellOpen final : public IShellOpen {
public:
    bool Open(const std::string& target, TShowMode mode) override;
};

} // namespace kwizmar
