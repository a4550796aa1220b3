#pragma once

#include "Registry.h"

#include <string>
#include <vector>

// The tests the editor opened or saved last, newest first, kept in the
// program's settings key as OstatniTest1 … OstatniTest6.

namespace kwizmar {

inline constexpr int kRecentFilesKept = 6;

class TRecentFiles {
public:
    explicit TRecentFiles(IRegistry& registry) : registry_(registry) {}

    // The list as stored; empty when the settings can't be read.
    std::vector<std::string> List() const;
    // Puts `path` first (once) and writes the list back. Throws
    // EFailedToSetData when it can't be written.
    void Add(const std::string& path);
    // Takes a file that is gone off the list.
    void Remove(const std::string& path);

private:
    void Write(const std::vector<std::string>& paths);
    IRegistry& registry_;
};

} // namespace kwizmar
