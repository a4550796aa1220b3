#include "ResultsLog.h"

#include "AtomicFile.h"
#include "Cp1250.h"
#include "FileLock.h"
#include "Platform.h"

#include <system_error>
#include <utility>

namespace kwizmar {

namespace {

std::filesystem::path LockFileFor(const std::string& logPath) {
    std::filesystem::path lock = PathFromUtf8(logPath);
    lock += ".lock";
    return lock;
}

// A result must reach the log even when a name holds a letter the code page
// lacks: such a letter is written as "?", as the system would.
std::string EncodeLine(const std::string& utf8) {
    try {
        return Utf8ToCp1250(utf8);
    } catch (const ECp1250Error&) {
    }
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        char32_t cp;
        if (!NextCodePoint(utf8, pos, cp))
            pos = start + 1;
        try {
            out += Utf8ToCp1250(std::string_view(utf8).substr(start, pos - start));
        } catch (const ECp1250Error&) {
            out += '?';
        }
    }
    return out;
}

} // namespace

TResultsLog::TResultsLog(IRegistry& registry) : registry_(registry) {}

std::string TResultsLog::Path() const {
    return directory_ + kPathSeparator + kFileName;
}

std::string TResultsLog::Locate() {
    auto setup = registry_.OpenKey(TRegistryRoot::LocalMachine, kSetupKey, false);
    if (setup && setup->ValueExists("SysDir"))
        directory_ = setup->ReadString("SysDir");
    return Path();
}

void TResultsLog::LoadIntoList() {
    const std::string path = Locate();
    lines_.clear();
    std::string bytes;
    if (ReadWholeFile(PathFromUtf8(path), bytes))
        lines_ = ParseLog(bytes);
}

int TResultsLog::AppendResultLine(const std::string& text) {
    Locate();
    // The lock file can only be made in an existing folder; the program's own
    // folder is made here so that its first append is locked too.
    if (!directory_.empty() && directory_ == DefaultDataFolder()) {
        std::error_code ec;
        std::filesystem::create_directories(PathFromUtf8(directory_), ec);
    }
    TFileLock lock(LockFileFor(Path()));
    LoadIntoList();
    const int k = int(lines_.size()) + 1;
    lines_.push_back(std::to_string(k) + ". " + text);
    SaveUnlocked();
    return k;
}

void TResultsLog::Save() {
    TFileLock lock(LockFileFor(Path()));
    SaveUnlocked();
}

void TResultsLog::SaveUnlocked() {
    const std::string path = Path();
    const std::filesystem::path file = PathFromUtf8(path);
    const std::filesystem::path folder = file.parent_path();
    std::error_code ec;
    if (!directory_.empty() && directory_ == DefaultDataFolder() &&
        !std::filesystem::exists(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        if (ec)
            throw EFCreateError(path);
    }
    WriteFileAtomically(file, FormatLog(lines_));
}

void TResultsLog::DeleteLine(std::size_t index) {
    if (index < lines_.size())
        lines_.erase(lines_.begin() + std::ptrdiff_t(index));
}

void TResultsLog::Clear() {
    lines_.clear();
}

std::vector<std::string> TResultsLog::ParseLog(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(Cp1250ToUtf8(bytes.substr(start)));
            break;
        }
        lines.push_back(Cp1250ToUtf8(bytes.substr(start, end - start)));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

std::string TResultsLog::FormatLog(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += EncodeLine(line) + "\r\n";
    return out;
}

} // namespace kwizmar
