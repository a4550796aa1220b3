#pragma once

#include <string>
#include <string_view>

// The menu's MIME cache, applications/mimeinfo.cache: the "[MIME Cache]" group
// of lines "type=id;id;...", naming for each MIME type the desktop entries of
// that folder that open it. GLib finds the programs for a type only through
// this file (update-desktop-database writes it from the entries' MimeType
// keys); xdg-utils reads it too. The first program of a line is the one a
// double click starts, unless the user chose another in a mimeapps.list, which
// both read first.
//
// Both calls take the file's text and give the new text; every other line,
// comments and other groups included, stays as it was.

namespace kwizmar {

// `cache` with `desktopId` first on the line of `mimeType` in the group,
// ahead of the programs the line already names (each kept once, in their
// order); the line is added to the group, and the group to the text, where
// missing. An empty `cache` gives a new file.
std::string MimeCacheWithHandler(std::string_view cache, std::string_view mimeType,
                                 std::string_view desktopId);

// `cache` without `desktopId` on the line of `mimeType`; a line left naming
// no program goes. The same text where the id isn't there.
std::string MimeCacheWithoutHandler(std::string_view cache, std::string_view mimeType,
                                    std::string_view desktopId);

} // namespace kwizmar
