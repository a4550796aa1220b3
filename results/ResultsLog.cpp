#include "ResultsLog.h"

#include "Cp1250.h"
#include "Folders.h"
#include "LockedFile.h"
#include "Paths.h"
#include "PendingResults.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <system_error>
#include <utility>

namespace kwizmar {

namespace {

// A result must reach the log even when a name holds a letter the code page
// lacks: such a letter is written as "?", as the system would.
std::string EncodeLine(const std::string& utf8) {
    return Utf8ToCp1250(utf8, '?');
}

// Whether the log is what this program writes: CR LF lines and nothing else,
// but for a last line that a crash cut short. Only such a log is appended to
// in place; any other is rewritten whole.
bool IsCrLfText(std::string_view bytes) {
    if (std::memchr(bytes.data(), '\0', bytes.size()))
        return false;
    std::size_t lineFeeds = 0;
    for (std::size_t pos = bytes.find('\n'); pos != std::string_view::npos;
         pos = bytes.find('\n', pos + 1)) {
        if (pos == 0 || bytes[pos - 1] != '\r')
            return false;
        ++lineFeeds;
    }
    const auto returns = std::size_t(std::count(bytes.begin(), bytes.end(), '\r'));
    return returns == lineFeeds + (bytes.ends_with('\r') ? 1 : 0);
}

// Whether the log already holds the numbered line of `text` (a result that
// waited and reached the log just before a crash).
bool Holds(std::string_view bytes, std::string_view text) {
    const std::string needle = ". " + std::string(text);
    for (std::size_t pos = bytes.find(needle); pos != std::string_view::npos;
         pos = bytes.find(needle, pos + 1)) {
        const std::size_t end = pos + needle.size();
        if (end == bytes.size() || bytes[end] == '\r' || bytes[end] == '\n')
            return true;
    }
    return false;
}

} // namespace

EResultsLogChanged::EResultsLogChanged(const std::string& path)
    : EPlatformError("Nie zapisano zmian: plik wyników " + path +
                     " został w międzyczasie zmieniony przez inną kopię programu. Lista "
                     "została wczytana na nowo; wprowadź zmiany jeszcze raz.") {}

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

void TResultsLog::CreateOwnFolder() const {
    if (!directory_.empty() && directory_ == DefaultDataFolder()) {
        std::error_code ec;
        std::filesystem::create_directories(PathFromUtf8(directory_), ec);
    }
}

void TResultsLog::Remember(std::string_view bytes) {
    remembered_ = true;
    rememberedSize_ = bytes.size();
    rememberedDigest_ = std::hash<std::string_view>{}(bytes);
    rememberedLastByte_ = bytes.empty() ? '\n' : bytes.back();
}

void TResultsLog::LoadIntoList() {
    const std::string path = Locate();
    lines_.clear();
    remembered_ = false;
    TLockedFile file(PathFromUtf8(path), TLockedFile::TAccess::Read);
    const std::string bytes = file.IsOpen() ? file.ReadAll() : std::string();
    lines_ = ParseLog(bytes);
    Remember(bytes);
}

int TResultsLog::AppendResultLine(const std::string& text) {
    const std::string encoded = EncodeLine(text);
    std::string bytes;
    bool read = false;
    try {
        Locate();
        CreateOwnFolder();
        TLockedFile file(PathFromUtf8(Path()), TLockedFile::TAccess::Create);
        bytes = file.ReadAll(encoded.size() + 64);
        read = true;
        return AppendLocked(file, encoded, bytes);
    } catch (const std::exception& error) {
        lines_ = read ? ParseLog(bytes) : std::vector<std::string>();
        lines_.push_back(std::to_string(lines_.size() + 1) + ". " + text);
        if (read)
            Remember(bytes);
        else
            remembered_ = false;

        const std::string kept = Utf8FromPath(TPendingResults::File());
        const std::string note =
            TPendingResults::Keep(encoded)
                ? "Wynik egzaminu nie przepadł: zachowano go w pliku " + kept +
                      " i zostanie dopisany do pliku wyników razem z następnym wynikiem."
                : "Wyniku egzaminu nie udało się też zachować w pliku " + kept + ".";
        if (dynamic_cast<const EFCreateError*>(&error))
            throw EFCreateError(Path(), note);
        throw EPlatformError(std::string(error.what()) + "\n\n" + note);
    }
}

int TResultsLog::AppendLocked(TLockedFile& file, const std::string& encoded, std::string& bytes) {
    TPendingResults pending;
    const bool plain = IsCrLfText(bytes);
    const std::string_view close = plain ? LineEndToClose(bytes) : std::string_view();
    std::size_t count =
        plain ? std::size_t(std::count(bytes.begin(), bytes.end(), '\n')) + (close.empty() ? 0 : 1)
              : SplitLines(bytes).size();

    std::string added;
    for (const std::string& waiting : pending.Waiting())
        if (!Holds(bytes, waiting))
            added += std::to_string(++count) + ". " + waiting + "\r\n";
    const int k = int(++count);
    added += std::to_string(k) + ". " + encoded + "\r\n";

    if (plain) {
        std::string tail(close);
        tail += added;
        file.AppendAt(bytes.size(), tail);
        bytes += tail;
    } else {
        std::string whole;
        whole.reserve(bytes.size() + added.size() + count);
        for (std::string_view line : SplitLines(bytes)) {
            whole += line;
            whole += "\r\n";
        }
        whole += added;
        file.Replace(whole, bytes, PathFromUtf8(UserDataFolder()));
        bytes = std::move(whole);
    }
    pending.Done();
    lines_ = ParseLog(bytes);
    Remember(bytes);
    return k;
}

// Whether `bytes`, the log as it is now, is the log as it was last read or
// written with lines appended; those lines are added to `added`.
bool TResultsLog::AppendedSince(std::string_view bytes, std::vector<std::string>& added) const {
    if (bytes.size() < rememberedSize_ ||
        std::hash<std::string_view>{}(bytes.substr(0, rememberedSize_)) != rememberedDigest_)
        return false;
    std::string_view since = bytes.substr(rememberedSize_);
    if (!since.empty() && rememberedLastByte_ != '\n') {
        // The last line had no line end, or only CR: an appending copy ended it.
        if (rememberedLastByte_ == '\r') {
            if (since.front() == '\n')
                since.remove_prefix(1);
        } else if (since.starts_with("\r\n")) {
            since.remove_prefix(2);
        } else if (since.front() == '\r' || since.front() == '\n') {
            since.remove_prefix(1);
        } else {
            return false; // the last line itself was changed
        }
    }
    for (std::string& line : ParseLog(since))
        added.push_back(std::move(line));
    return true;
}

void TResultsLog::Save() {
    const std::string path = Path();
    CreateOwnFolder();
    TLockedFile file(PathFromUtf8(path), TLockedFile::TAccess::Create);
    const std::string current = file.ReadAll();
    std::vector<std::string> list = lines_;
    if (remembered_ && !AppendedSince(current, list)) {
        lines_ = ParseLog(current);
        Remember(current);
        throw EResultsLogChanged(path);
    }
    const std::string content = FormatLog(list);
    if (content != current)
        file.Replace(content, current, PathFromUtf8(UserDataFolder()));
    lines_ = std::move(list);
    Remember(content);
}

void TResultsLog::DeleteLine(std::size_t index) {
    if (index < lines_.size())
        lines_.erase(lines_.begin() + std::ptrdiff_t(index));
}

void TResultsLog::Clear() {
    lines_.clear();
}

std::vector<std::string_view> TResultsLog::SplitLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

std::vector<std::string> TResultsLog::ParseLog(std::string_view bytes) {
    const std::vector<std::string_view> raw = SplitLines(bytes);
    std::vector<std::string> lines;
    lines.reserve(raw.size());
    for (std::string_view line : raw)
        lines.push_back(Cp1250ToUtf8(line));
    return lines;
}

std::string TResultsLog::FormatLog(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += EncodeLine(line) + "\r\n";
    return out;
}

std::string_view TResultsLog::LineEndToClose(std::string_view bytes) {
    if (bytes.empty() || bytes.back() == '\n')
        return {};
    return bytes.back() == '\r' ? "\n" : "\r\n";
}

} // namespace kwizmar
