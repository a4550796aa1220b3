#pragma once

#include <string>

// The processes of this computer as the program tells them apart: by the id
// and the time the process started, so that an id the system has given again
// to a later process is not taken for the one that ended. Ids and times are
// decimal texts, to be written into files and compared whole.

namespace kwizmar {

// This process's id.
std::string ThisProcess();

// When the process `pid` of this computer started, in the system's own
// units; empty where unknown.
std::string StartOf(const std::string& pid);

// Whether the process `pid` that started at `start` (empty: whenever) no
// longer runs on this computer. False when unsure (an id that is no number).
bool ProcessGone(const std::string& pid, const std::string& start);

} // namespace kwizmar
