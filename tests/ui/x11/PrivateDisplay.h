#pragma once

// The X11 tests' own display: Xvfb on a free display number with openbox on
// it. The test program starts it before the application, so that Qt draws
// there. Its screen is 1024 x 768 unless KWIZMAR_TEST_SCREEN gives another
// size ("1366x768"); KWIZMAR_TEST_XFT_DPI sets the desktop's scale as a
// desktop does, as Xft.dpi among the X resources ("144": 1.5).
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
