#pragma once

#include <string>

namespace kwizmar {

// Whether `published` is a newer version than `running`. Each text is cut at
// its first three "." into four parts (a missing "." leaves the part empty and
// the rest as it was); all eight parts must be whole numbers, or the answer is
// false (so "2.0", "1.5.0.124.1" and "1.x.0.0" are never newer). The first
// part in which the two differ decides; equal versions are not newer.
bool IsNewerVersion(const std::string& published, const std::string& running);

} // namespace kwizmar
