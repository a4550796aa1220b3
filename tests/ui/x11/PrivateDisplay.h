#pragma once

// The X11 tests' own display: Xvfb on a free display number with openbox on
// it. The test program starts it before the application, so that Qt draws
// there.
namespace kwizmar::testing {

// False where Xvfb isn't installed: the tests skip.
bool HavePrivateDisplay();

} // namespace kwizmar::testing
