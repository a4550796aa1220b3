#pragma once

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// A test with unsaved changes outlives the editor: its text source is kept
// in the user's own data folder, a few seconds after each change and when
// the editor is told to end (the session logs out, the system shuts down),
// so that a crash or a power cut loses at most those seconds; the next
// editor offers it back. Each editor keeps its copy under its process id and
// removes it when the test is saved or set aside; a copy whose editor no
// longer runs is the one to offer.

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
// The same for a test's text source `source` belonging to `belongsTo`. The
// note of the file goes first and each file is replaced whole, so that a
// copy found is always a whole one.
void KeepForRecovery(const std::filesystem::path& folder, unsigned long pid,
                     const std::string& source, const std::string& belongsTo);
// Removes the copy kept under `pid`, if any. Never throws.
void DiscardRecovery(const std::filesystem::path& folder, unsigned long pid);

// A test kept by an editor that no longer runs, if there is one.
std::optional<TRecovered> FindRecovery(const std::filesystem::path& folder);

// Removes a kept test (and its note of the file it belongs to). Never throws.
void DiscardRecovery(const TRecovered& recovered);

// Keeps an editor's copy current on a thread of its own, off the keystroke's
// path: the window hands it the test's text source, and only the newest one
// not yet written is written. A copy that can't be written is tried again at
// the next change.
class TRecoveryKeeper {
public:
    TRecoveryKeeper(std::filesystem::path folder, unsigned long pid);
    // Does what was asked, then ends the thread.
    ~TRecoveryKeeper();
    TRecoveryKeeper(const TRecoveryKeeper&) = delete;
    TRecoveryKeeper& operator=(const TRecoveryKeeper&) = delete;

    void Keep(std::string source, std::string belongsTo);
    // The copy goes: the test was saved, or closed without its changes.
    void Discard();
    // Waits until what was asked has been done.
    void Flush();

private:
    void Run();

    const std::filesystem::path folder_;
    const unsigned long pid_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::pair<std::string, std::string>> waiting_; // source, belongsTo
    bool discard_ = false, busy_ = false, stop_ = false;
    std::thread thread_;
};

} // namespace kwizmar
