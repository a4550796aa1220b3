#pragma once

#include "AnswerRecord.h"
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

    // Whether the file was read (or there is none): a file that could not
    // be read may hold results that wait on.
    bool Read() const { return read_; }

    // The waiting results are in the log: the file is emptied. A failure is
    // not reported; the log's writer never writes a result twice, as it
    // skips a waiting result that the log already holds.
    void Done() noexcept;

private:
    std::unique_ptr<TLockedFile> file_;
    std::vector<std::string> waiting_;
    bool read_ = true;
};

// The answers' records (AnswerRecord.h) that wait for the records file beside
// the log: those of waiting results, and those whose own write failed after
// their line got in. They wait in "odpowiedzi-oczekujace.txt" beside the
// waiting results, one record a line, UTF-8, each naming its result by the
// line's whole text (without its number) in place of the line's start, and
// go in with the next change of the log that finds their line in it.
class TPendingRecords {
public:
    static constexpr const char* kFileName = "odpowiedzi-oczekujace.txt";

    static std::filesystem::path File();
    // Adds a record whose lineStart is its result's whole text. Returns false
    // when it could not be kept. Never throws.
    static bool Keep(const TAnswerRecord& record) noexcept;
    // How many records wait; 0 where the file can't be read. Never throws.
    static std::size_t Count() noexcept;

    // Takes the waiting records for the log's writer, which holds the log's
    // locks; the file stays locked until this object goes. A line that is no
    // record (a write cut short) is dropped.
    TPendingRecords();
    const std::vector<TAnswerRecord>& Waiting() const { return waiting_; }
    // Only `left` wait on: the file is rewritten with them, or removed.
    void Done(const std::vector<TAnswerRecord>& left) noexcept;

private:
    std::unique_ptr<TLockedFile> file_;
    std::string bytes_;
    std::vector<TAnswerRecord> waiting_;
};

} // namespace kwizmar
