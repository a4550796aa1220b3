#include "AnswerRecordsFile.h"

#include "Cp1250.h"
#include "Errors.h"
#include "Folders.h"
#include "LockedFile.h"
#include "Paths.h"
#include "ResultsLogFormat.h"
#include "SafeReplace.h"
#include "ServerLock.h"

#include <charconv>
#include <filesystem>
#include <system_error>
#include <unordered_set>

namespace kwizmar {

namespace {

constexpr const char* kPreviousSuffix = ".poprzedni";

void ThrowUnlessHeld(const TServerLock& lock, const std::string& path) {
    if (!lock.MayChange() || (lock.Held() && !lock.StillHeld()))
        throw EFCreateError(path);
}

// The beginnings (RecordLinePrefix) of the records of the log's lines.
std::unordered_set<std::string> LinesNamed(std::string_view logBytes) {
    std::unordered_set<std::string> named;
    for (const std::string& line : ParseLog(logBytes)) {
        const std::size_t dot = line.find(". ");
        int number = 0;
        const auto [ptr, ec] = std::from_chars(line.data(), line.data() + dot, number);
        if (dot == std::string::npos || ec != std::errc() || ptr != line.data() + dot)
            continue;
        named.insert(
            RecordLinePrefix(number, LineStartText(std::string_view(line).substr(dot + 2))));
    }
    return named;
}

} // namespace

TAnswerRecordsFile::TAnswerRecordsFile(const std::string& logFolder)
    : path_(logFolder + kPathSeparator + kAnswerRecordsFileName) {}

TAnswerRecord RecordOfLine(TAnswerRecord record, int number, const std::string& lineText) {
    record.line = number;
    record.lineStart = std::string(LineStartText(Cp1250ToUtf8(EncodeLogLine(lineText))));
    return record;
}

TAnswerRecord WaitingRecord(TAnswerRecord record, const std::string& lineText) {
    record.line = 0;
    record.lineStart = lineText;
    return record;
}

void TAnswerRecordsFile::Append(const TServerLock& lock, const std::vector<TAnswerRecord>& fresh,
                                const std::vector<TAnswerRecord>& waited) const {
    if (fresh.empty() && waited.empty())
        return;
    TLockedFile file(PathFromUtf8(path_), TLockedFile::TAccess::Create);
    std::string tail;
    const std::uint64_t at = file.ReadTail(tail, 2);

    std::string added;
    std::unordered_set<std::string> named;
    for (const TAnswerRecord& record : fresh) {
        named.insert(RecordLinePrefix(record.line, record.lineStart));
        added += FormatAnswerRecord(record) + "\r\n";
    }
    if (!waited.empty()) {
        // Only those waiting are looked for: the finish itself never reads
        // the whole file.
        const std::string bytes = file.ReadAll();
        for (std::string_view line : SplitLogLines(bytes))
            if (const std::string_view prefix = RecordLinePrefixOf(line); !prefix.empty())
                named.emplace(prefix);
        for (const TAnswerRecord& record : waited)
            if (named.insert(RecordLinePrefix(record.line, record.lineStart)).second)
                added += FormatAnswerRecord(record) + "\r\n";
    }
    if (added.empty())
        return;
    const std::string written = std::string(LineEndToClose(tail)) + added;
    ThrowUnlessHeld(lock, path_);
    file.AppendAt(at, written);
    if (file.ReadBack(at, written.size()) != written)
        throw EFCreateError(path_);
    ThrowUnlessHeld(lock, path_);
}

void TAnswerRecordsFile::KeepInStep(std::string_view logBytes) const noexcept {
    try {
        TLockedFile file(PathFromUtf8(path_), TLockedFile::TAccess::Update);
        if (!file.IsOpen())
            return;
        const std::string current = file.ReadAll();
        const std::unordered_set<std::string> named = LinesNamed(logBytes);
        std::string kept;
        kept.reserve(current.size());
        bool dropped = false;
        for (std::string_view line : SplitLogLines(current)) {
            const std::string_view prefix = RecordLinePrefixOf(line);
            // What is no record of this format stays as it is.
            if (!prefix.empty() && !named.contains(std::string(prefix))) {
                dropped = true;
                continue;
            }
            kept.append(line);
            kept += "\r\n";
        }
        if (!dropped)
            return;
        // The records as they were first, beside them or in the user's own
        // data folder; without that copy nothing changes.
        const std::string ownCopy =
            Utf8FromPath(PathFromUtf8(UserDataFolder()) /
                         (std::string(kAnswerRecordsFileName) + kPreviousSuffix));
        std::error_code ec;
        std::filesystem::create_directories(PathFromUtf8(UserDataFolder()), ec);
        bool copied = false;
        for (const std::string& copy : {path_ + kPreviousSuffix, ownCopy}) {
            try {
                RemoveStaleTemporaries(PathFromUtf8(copy));
                TLockedFile previous(PathFromUtf8(copy), TLockedFile::TAccess::Create);
                const std::string old = previous.ReadAll();
                previous.Replace(current, old, PathFromUtf8(UserDataFolder()));
                copied = true;
                break;
            } catch (const EPlatformError&) {
            }
        }
        if (copied)
            file.Replace(kept, current, PathFromUtf8(UserDataFolder()));
    } catch (...) {
    }
}

} // namespace kwizmar
