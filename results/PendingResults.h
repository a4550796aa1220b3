#pragma once

#include "LockedFile.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Results that could not reach the results log (no permission, a missing
// folder, a full disk, a share that is gone) wait in the user's own data
// folder, in the file "wyniki-oczekujace.txt": one result text a line, in the
// log's encoding and without its number. The next result that reaches the log
// takes them along, in order, numbered as log lines are, and empties the file.

namespace kwizmar {

class TPendingResults {
public:
    static constexpr const char* kFileName = "wyniki-oczekujace.txt";

    // Where the waiting results are kept; empty where the system names no
    // data folder for the user.
    static std::filesystem::path File();
    // From now on, for this run of the program, results wait in `folder`
    // instead: the test editor's trials, whose results must never wait where
    // an ordinary run would take them to the class's log. Set before any
    // result is written.
    static void KeepIn(std::string folder);

    // Adds one result text (Windows-1250, no line end) after those already
    // waiting. Returns false when it could not be kept. Never throws.
    static bool Keep(std::string_view encodedText) noexcept;

    // How many results wait; 0 where the file can't be read. Never throws.
    static std::size_t Count() noexcept;

    // Takes the waiting results for the log's writer, which must hold the
    // log's lock: the file stays locked until this object goes. A file that
    // can't be read counts as nothing waiting; it is left for a later try.
    TPendingResults();

    const std::vector<std::string>& Waiting() const { return waiting_; }

    // The waiting results are in the log: the file is emptied. A failure is
    // not reported; the log's writer never writes a result twice, as it
    // skips a waiting result that the log already holds.
    void Done() noexcept;

private:
    std::unique_ptr<TLockedFile> file_;
    std::vector<std::string> waiting_;
};

} // namespace kwizmar
