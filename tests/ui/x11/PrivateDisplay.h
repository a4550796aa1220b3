#pragma once

// The X11 tests' own display: Xvfb on a free display number with openbox on
// it. The test program starts it before the application, so that Qt draws
// there.
namespace kwizmar::testing {

// False where Xvfb isn't installed: the tests skip.
bool HavePrivateDisplay();

// The display's window manager: stopped, so that the display has none;
// started again, returning once it manages windows; and replaced by another
// one (openbox --replace), returning once the new one manages windows.
void StopWindowManager();
void StartWindowManager();
void ReplaceWindowManager();

} // namespace kwizmar::testing
