#pragma once

#include "AboutLogic.h"

#include <QObject>

namespace kwizmar {

// The system's "open" action through the desktop's URL handlers: an address
// with a scheme goes to its handler, anything else is opened as a local file.
// The desktop decides how the opened window shows, so the show mode is only a
// wish here. A local file whose failure is to be heard goes to xdg-open, where
// it is installed, and its exit status tells; Qt's own hand-over says only
// whether it found an opener at all.
class TQtShellOpen final : public IShellOpen {
public:
    TQtShellOpen() = default;
    TQtShellOpen(const TQtShellOpen&) = delete;
    TQtShellOpen& operator=(const TQtShellOpen&) = delete;
    // Ends the openers still running (a browser they started stays) without
    // calling anything back.
    ~TQtShellOpen() override;

    void Open(const std::string& target, TShowMode mode,
              const std::function<void()>& failed) override;

private:
    QObject running_; // the xdg-open processes not yet finished
};

} // namespace kwizmar
