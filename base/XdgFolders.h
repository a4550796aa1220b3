#pragma once

#include <string>
#include <vector>

// The XDG base directories, where the program keeps its files on systems
// other than Windows (the settings file, the Setup file, the data folder, the
// file-type registration).
//
// A variable counts only when it holds an absolute path; otherwise its default
// under the home folder applies. The home folder is $HOME when that is an
// absolute path, else the one the user database gives the user. Where neither
// names one, the per-user look-ups give empty text: no file is then ever
// looked for, or written, relative to the working folder or the root.

namespace kwizmar {

// $XDG_DATA_HOME, default ~/.local/share.
std::string XdgDataHome();

// $XDG_CONFIG_HOME, default ~/.config.
std::string XdgConfigHome();

// The first folder of $XDG_CONFIG_DIRS, default /etc/xdg. Never empty.
std::string XdgFirstConfigDir();

// The folders of $XDG_DATA_DIRS that are absolute paths, in their order; the
// default /usr/local/share and /usr/share when it names none. Never empty.
std::vector<std::string> XdgDataDirs();

} // namespace kwizmar
