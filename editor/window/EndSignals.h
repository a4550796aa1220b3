#pragma once

#include <functional>

namespace kwizmar {

// Calls `ending` in the event loop when the system tells the program to end
// (SIGTERM at a log-out or shutdown, SIGHUP when its terminal goes), so that
// it can keep what would be lost. Where the system has no such signals,
// nothing is done.
void OnEndSignal(std::function<void()> ending);

} // namespace kwizmar
