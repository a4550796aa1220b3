#pragma once

#include <string_view>

// The files of packaging/ that the program writes itself when it registers the
// test-file type, compiled in so that the program needs no data files for it.
// A package installs the same files, so the two registrations agree.

namespace kwizmar {

// The test-file icon: a scalable image for the freedesktop icon theme, and a
// Windows icon file (one 32 × 32 image) for KwIc.dll.
std::string_view TestFileIconSvg();
std::string_view TestFileIconIco();

// The program's own icon, a scalable image.
std::string_view ProgramIconSvg();

// The shared-mime-info type of test files (kwizmar.xml).
std::string_view MimeTypeXml();

// The desktop entry as installed (kwizmar.desktop): its Exec lines start the
// program by its name, "Exec=kwizmar ".
std::string_view DesktopEntryTemplate();

// The menu entry of the results alone (kwizmar-wyniki-egzaminow.desktop,
// "Exec=kwizmar --wyniki"), as installed.
std::string_view ResultsEntryTemplate();

} // namespace kwizmar
