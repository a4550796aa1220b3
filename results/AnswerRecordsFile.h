#pragma once

#include "AnswerRecord.h"

#include <string>
#include <string_view>
#include <vector>

// The answers' records beside the results log, "odpowiedzi-egzaminow.txt"
// (AnswerRecord.h): one record a line, UTF-8, CR LF. The log's writer adds a
// finish's record after its line, under the same locks (the server's lock of
// the log and a lock on this file), and reads it back; the statistics
// window's save keeps the records in step with the lines it kept.

namespace kwizmar {

class TServerLock;

class TAnswerRecordsFile {
public:
    // The records beside the log in `logFolder`.
    explicit TAnswerRecordsFile(const std::string& logFolder);

    const std::string& Path() const { return path_; }

    // With the log's server lock `lock` held: appends `fresh` (records of
    // lines just added) and those of `waited` (records that waited, which
    // may have got in before) that the file names no record of the same line
    // for, then reads them back. Every record names its line by number and
    // start. Throws EPlatformError where they are not all in as written.
    void Append(const TServerLock& lock, const std::vector<TAnswerRecord>& fresh,
                const std::vector<TAnswerRecord>& waited) const;

    // After the statistics window's save wrote the log `logBytes`, under the
    // log's locks: the records of lines it no longer holds go; the file as it
    // was is kept first in "<file>.poprzedni" (or the user's data folder).
    // Where nothing can be kept or written, the records stay as they are:
    // a record that names no line is never taken for another's.
    void KeepInStep(std::string_view logBytes) const noexcept;

private:
    std::string path_;
};

// The record of the log line `number`, whose text (without its number, UTF-8)
// is `lineText`: numbered, and named by the start of the line as the log keeps
// it (a letter the code page lacks reads "?" there too).
TAnswerRecord RecordOfLine(TAnswerRecord record, int number, const std::string& lineText);
// The record as it waits (TPendingRecords): named by the whole `lineText`.
TAnswerRecord WaitingRecord(TAnswerRecord record, const std::string& lineText);

} // namespace kwizmar
