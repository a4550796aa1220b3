#pragma once

#include <filesystem>
#include <optional>
#include <string>

// A test with unsaved changes outlives an editor that is told to end (the
// session logs out, the system shuts down): its text source is kept in the
// user's own data folder, and the next editor offers it back.

namespace kwizmar {

class TEdytorLogic;

struct TRecovered {
    std::filesystem::path draft; // the kept text source
    std::string belongsTo;       // the test's .ts2 file or draft; empty for a new test
};

// Keeps the test of `logic` in `folder` (created when missing) under the
// editor's process id `pid`, with the file it belongs to. Throws
// EFCreateError when it can't be written.
void KeepForRecovery(const std::filesystem::path& folder, const TEdytorLogic& logic,
                     unsigned long pid);

// A test kept by an editor that no longer runs, if there is one.
std::optional<TRecovered> FindRecovery(const std::filesystem::path& folder);

// Removes a kept test (and its note of the file it belongs to). Never throws.
void DiscardRecovery(const TRecovered& recovered);

} // namespace kwizmar
