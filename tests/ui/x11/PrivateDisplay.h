#pragma once

// The X11 tests' own display: Xvfb on a free display number with openbox on
// it. The test program starts it before the application, so that Qt draws
// there.
#include <string>
#include <vector>

namespace kwizmar::testing {

// False where Xvfb isn't installed: the tests skip.
bool HavePrivateDisplay();

// The display's window manager: stopped, so that the display has none;
// started again, returning once it manages windows; and replaced by another
// one (openbox --replace), returning once the new one manages windows.
void StopWindowManager();
void StartWindowManager();
void ReplaceWindowManager();
// Another window manager, `command` (which asks for the screen where it
// must), returning once it manages windows; StartWindowManager() brings
// openbox back.
void StartWindowManager(const std::vector<std::string>& command);
// Another window manager taking over from the running one.
void ReplaceWindowManager(const std::vector<std::string>& command);

} // namespace kwizmar::testing
