#pragma once

// A scratch data folder holding a results log of many lines, for the
// benchmarks; the program finds it as its own data folder.

#include <cstddef>
#include <filesystem>
#include <string>

namespace kwizmar::bench {

// One result line as the finish writes it, about 300 bytes in Windows-1250,
// without its line end.
std::string ResultLine(int number);

class TLargeLog {
public:
    explicit TLargeLog(int lines);
    ~TLargeLog();
    TLargeLog(const TLargeLog&) = delete;
    TLargeLog& operator=(const TLargeLog&) = delete;

    std::filesystem::path Path() const;
    // A file beside the log's folder, for the baselines to write.
    std::filesystem::path Beside(const char* name) const { return root_ / name; }

private:
    std::filesystem::path root_;
};

// The baselines the program's own work is held against: the file read into
// memory with the system's plain calls, and a copy of it made safely (read,
// written to a new file, flushed to the disk, renamed over the old copy).
// Both return the number of bytes.
std::size_t RawRead(const std::filesystem::path& file);
std::size_t RawCopy(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace kwizmar::bench
