#include "PendingResults.h"

#include "Errors.h"
#include "Folders.h"
#include "Paths.h"
#include "ResultsLogFormat.h"

#include <system_error>
#include <utility>

namespace kwizmar {

namespace {

// The folder KeepIn named; empty for the user's data folder.
std::string& OwnFolder() {
    static std::string folder;
    return folder;
}

// Adds `text` as a line of `file` (made where missing, with its folder), the
// last line there ended first. False where it could not. Never throws.
bool AppendLine(const std::filesystem::path& file, std::string_view text) noexcept {
    try {
        if (file.empty())
            return false;
        std::error_code ec;
        std::filesystem::create_directories(file.parent_path(), ec);
        TLockedFile pending(file, TLockedFile::TAccess::Create);
        std::string tail;
        const std::uint64_t size = pending.ReadTail(tail, 2);
        std::string line(LineEndToClose(tail));
        line.append(text);
        line += "\r\n";
        pending.AppendAt(size, line);
        return true;
    } catch (...) {
        return false;
    }
}

// How many lines of `file` `counts`; 0 where it can't be read. Never throws.
template <class F> std::size_t CountLines(const std::filesystem::path& file, F counts) noexcept {
    try {
        if (file.empty())
            return 0;
        TLockedFile pending(file, TLockedFile::TAccess::Read);
        if (!pending.IsOpen())
            return 0;
        const std::string bytes = pending.ReadAll();
        std::size_t count = 0;
        for (std::string_view line : SplitLogLines(bytes))
            count += counts(line) ? 1 : 0;
        return count;
    } catch (...) {
        return 0;
    }
}

} // namespace

void TPendingResults::KeepIn(std::string folder) {
    OwnFolder() = std::move(folder);
}

std::filesystem::path TPendingResults::File() {
    const std::string folder = OwnFolder().empty() ? UserDataFolder() : OwnFolder();
    return folder.empty() ? std::filesystem::path() : PathFromUtf8(folder) / kFileName;
}

bool TPendingResults::Keep(std::string_view encodedText) noexcept {
    return AppendLine(File(), encodedText);
}

std::size_t TPendingResults::Count() noexcept {
    return CountLines(File(), [](std::string_view line) { return !line.empty(); });
}

TPendingResults::TPendingResults() {
    const std::filesystem::path file = File();
    if (file.empty())
        return;
    try {
        file_ = std::make_unique<TLockedFile>(file, TLockedFile::TAccess::Update);
        if (!file_->IsOpen())
            return;
        const std::string bytes = file_->ReadAll();
        for (std::string_view line : SplitLogLines(bytes))
            if (!line.empty())
                waiting_.emplace_back(line);
    } catch (const EPlatformError&) {
        file_.reset();
        waiting_.clear();
        read_ = false;
    }
}

void TPendingResults::Done() noexcept {
    if (!file_ || !file_->IsOpen() || waiting_.empty())
        return;
    try {
        file_->Truncate();
        std::error_code ec;
        std::filesystem::remove(File(), ec);
    } catch (const EPlatformError&) {
    }
}

std::filesystem::path TPendingRecords::File() {
    const std::filesystem::path results = TPendingResults::File();
    return results.empty() ? results : results.parent_path() / kFileName;
}

bool TPendingRecords::Keep(const TAnswerRecord& record) noexcept {
    return AppendLine(File(), FormatAnswerRecord(record));
}

std::size_t TPendingRecords::Count() noexcept {
    return CountLines(File(),
                      [](std::string_view line) { return ParseAnswerRecord(line).has_value(); });
}

TPendingRecords::TPendingRecords() {
    const std::filesystem::path file = File();
    if (file.empty())
        return;
    try {
        file_ = std::make_unique<TLockedFile>(file, TLockedFile::TAccess::Update);
        if (!file_->IsOpen())
            return;
        bytes_ = file_->ReadAll();
        for (std::string_view line : SplitLogLines(bytes_))
            if (std::optional<TAnswerRecord> record = ParseAnswerRecord(line))
                waiting_.push_back(std::move(*record));
    } catch (const EPlatformError&) {
        file_.reset();
        waiting_.clear();
    }
}

void TPendingRecords::Done(const std::vector<TAnswerRecord>& left) noexcept {
    if (!file_ || !file_->IsOpen()) {
        // None waited (or none could be read): those left start the file.
        file_.reset();
        for (const TAnswerRecord& record : left)
            Keep(record);
        return;
    }
    try {
        if (left.empty()) {
            file_->Truncate();
            std::error_code ec;
            std::filesystem::remove(File(), ec);
            return;
        }
        if (left == waiting_)
            return;
        std::string bytes;
        for (const TAnswerRecord& record : left)
            bytes += FormatAnswerRecord(record) + "\r\n";
        file_->Replace(bytes, bytes_, File().parent_path());
    } catch (const EPlatformError&) {
    }
}

} // namespace kwizmar
