#include "EndSignals.h"

namespace kwizmar {

// Windows ends a program at log-out through its windows (closeEvent), not
// through signals.
void OnEndSignal(std::function<void()>) {}

} // namespace kwizmar
