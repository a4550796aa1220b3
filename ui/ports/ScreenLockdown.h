#pragma once

#include "Lockdown.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace kwizmar {

// The lockdown as the program runs it: each of the six operations goes to the
// system's own (PlatformLockdown) first, in the same order and with the same
// argument, and then, where the window system lets the program do it itself,
// takes effect on the screen.
class IScreenLockdown : public ILockdownOperations {
public:
    // The window whose screen the lockdown covers and whose keyboard it keeps
    // while no other window of the program has it.
    virtual void AttachMainWindow(QWidget* window) = 0;

    // A short note for the options window while the operations can't do their
    // work on this desktop; empty while they can.
    virtual QString Note() const = 0;

    // Told each time Note() changes.
    std::function<void()> OnNoteChanged;
};

// The lockdown over the system's operations `system`, for this window system.
std::unique_ptr<IScreenLockdown> MakeScreenLockdown(ILockdownOperations& system);

} // namespace kwizmar
