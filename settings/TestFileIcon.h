#pragma once

#include <string_view>

namespace kwizmar {

// The test-file icon, compiled into the program from packaging/: as a scalable
// image for the freedesktop icon theme, and as a Windows icon file (one 32 × 32
// image) for KwIc.dll.
std::string_view TestFileIconSvg();
std::string_view TestFileIconIco();

} // namespace kwizmar
