#include "ResultsLog.h"

#include "Cp1250.h"
#include "Folders.h"
#include "LabSettings.h"
#include "LockedFile.h"
#include "Paths.h"
#include "PendingResults.h"
#include "ResultsLogPlatform.h"
#include "SafeReplace.h"
#include "ServerLock.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <utility>

namespace kwizmar {

namespace {

// A result must reach the log even when a name holds a letter the code page
// lacks: such a letter is written as "?", as the system would.
std::string EncodeLine(const std::string& utf8) {
    return Utf8ToCp1250(utf8, '?');
}

// How a line of the log ends.
enum class TLineEnd { CrLf, Cr, Lf, None };

// Calls line(offset, size, end) for each line of `bytes` as the log format
// reads it: a line ends at CR LF, at a lone CR or at a lone LF, and a NUL byte
// ends the text. memchr finds the ends, so that a log of hundreds of megabytes
// is walked at memory speed and nothing is copied. Returns false when a NUL
// cut the text short.
template <class F> bool ForEachLine(std::string_view bytes, F&& line) {
    auto find = [](const char* from, const char* to, char c) {
        return static_cast<const char*>(std::memchr(from, c, std::size_t(to - from)));
    };
    const char* const begin = bytes.data();
    const char* const nul = find(begin, begin + bytes.size(), '\0');
    const char* const end = nul ? nul : begin + bytes.size();
    for (const char* p = begin; p < end;) {
        const char* const lf = find(p, end, '\n');
        const char* const stop = lf ? lf : end;
        const char* cr;
        while ((cr = find(p, stop, '\r')) && !(lf && cr + 1 == lf)) {
            line(std::size_t(p - begin), std::size_t(cr - p), TLineEnd::Cr);
            p = cr + 1;
        }
        if (cr)
            line(std::size_t(p - begin), std::size_t(cr - p), TLineEnd::CrLf);
        else if (lf)
            line(std::size_t(p - begin), std::size_t(lf - p), TLineEnd::Lf);
        else if (p < end)
            line(std::size_t(p - begin), std::size_t(end - p), TLineEnd::None);
        p = stop + 1;
    }
    return !nul;
}

// Walks the lines of a log that comes in by pieces, each piece as it comes,
// with the same lines ForEachLine finds in the whole. A line goes out once
// its LF is in; the last line, once the whole is in.
class TPieceWalker {
public:
    template <class F> void Walk(std::string_view sofar, bool whole, F&& line) {
        if (cut_)
            return;
        std::size_t end = sofar.size();
        if (!whole) {
            const std::size_t lf = sofar.rfind('\n');
            if (lf == std::string_view::npos || lf < from_)
                return;
            end = lf + 1;
        }
        const std::size_t from = from_;
        cut_ = !ForEachLine(sofar.substr(from, end - from),
                            [&](std::size_t offset, std::size_t size, TLineEnd ending) {
                                line(from + offset, size, ending);
                            });
        from_ = end;
    }

private:
    std::size_t from_ = 0; // where the lines not yet walked begin
    bool cut_ = false;     // a NUL ended the text
};

// What the finish needs to know of the log: how many lines it has, and whether
// it is what this program writes: CR LF lines and nothing else, but for a last
// line that a crash cut short. Only such a log is appended to in place; any
// other is rewritten whole.
struct TShape {
    std::size_t lines = 0;
    bool crLf = true;
};

TShape ShapeOf(std::string_view bytes) {
    TShape shape;
    const bool whole = ForEachLine(bytes, [&](std::size_t offset, std::size_t size, TLineEnd end) {
        ++shape.lines;
        if (end == TLineEnd::Lf || (end == TLineEnd::Cr && offset + size + 1 != bytes.size()))
            shape.crLf = false;
    });
    shape.crLf = shape.crLf && whole;
    return shape;
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

// A copy that held the server's lock so long that another judged it stale
// (a share that stalled) may no longer be the only writer, and one whose
// server kept failing never knew: it writes nothing, and its result waits for
// the next one instead.
void ThrowIfLockLost(const TServerLock& lock, const std::string& path) {
    if (lock.Failed() || (lock.Held() && !lock.StillHeld()))
        throw EFCreateError(path);
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
    // A lab's administrator names the shared folder in the program's own
    // machine-wide key; the system's Setup key is the program's old place.
    if (std::string lab = LabResultsFolder(registry_); !lab.empty()) {
        directory_ = std::move(lab);
        return Path();
    }
    auto setup = registry_.OpenKey(TRegistryRoot::LocalMachine, kSetupKey, false);
    std::string sysDir;
    if (setup && setup->ValueExists("SysDir"))
        sysDir = setup->ReadString("SysDir");
    if (!sysDir.empty() && SetupFolderServes(sysDir))
        directory_ = std::move(sysDir);
    else if (std::string own = DefaultDataFolder(); !own.empty())
        directory_ = std::move(own);
    return Path();
}

// The program's own data folder is made with the folders above it
// (%ProgramData%\Nerbaly\Kwizmar on Windows) where the installer hasn't made it.
void TResultsLog::CreateOwnFolder() const {
    if (!directory_.empty() && directory_ == DefaultDataFolder()) {
        std::error_code ec;
        std::filesystem::create_directories(PathFromUtf8(directory_), ec);
    }
}

void TResultsLog::ListAllLines(bool remembered) {
    remembered_ = remembered;
    rows_.clear();
    allRows_ = true;
    extra_.clear();
}

void TResultsLog::Take(std::string bytes) {
    bytes_ = std::move(bytes);
    ListAllLines(true);
}

const std::vector<TResultsLog::TRow>& TResultsLog::Rows() const {
    if (allRows_) {
        rows_.clear();
        ForEachLine(bytes_, [this](std::size_t offset, std::size_t size, TLineEnd) {
            rows_.push_back({offset, size});
        });
        allRows_ = false;
    }
    return rows_;
}

std::string_view TResultsLog::RowBytes(const TRow& row) const {
    return std::string_view(bytes_).substr(row.offset, row.size);
}

std::size_t TResultsLog::LineCount() const {
    return Rows().size();
}

std::string TResultsLog::Line(std::size_t index) const {
    const TRow& row = Rows()[index];
    return row.size == kNotRead ? extra_[row.offset] : Cp1250ToUtf8(RowBytes(row));
}

void TResultsLog::LoadIntoList() {
    const std::string path = Locate();
    // The list stays empty unless the log is read.
    ListAllLines(false);
    allRows_ = false;
    const TServerLock lock(PathFromUtf8(path));
    TLockedFile file(PathFromUtf8(path), TLockedFile::TAccess::Read);
    if (!file.IsOpen()) {
        Take({});
        return;
    }
    // The window shows the list at once: its lines are found while the file
    // comes in, into the memory of the log read before.
    auto add = [this](std::size_t offset, std::size_t size, TLineEnd) {
        rows_.push_back({offset, size});
    };
    TPieceWalker walker;
    try {
        file.ReadAll(bytes_, 0, [&](std::string_view sofar) { walker.Walk(sofar, false, add); });
    } catch (...) {
        rows_.clear();
        throw;
    }
    walker.Walk(bytes_, true, add);
    remembered_ = true;
}

int TResultsLog::AppendResultLine(const std::string& text) {
    const std::string encoded = EncodeLine(text);
    bool read = false;
    try {
        Locate();
        CreateOwnFolder();
        // The file server's lock first, for the copies on other computers,
        // then the lock on the file, for those on this one. The file is
        // opened afresh under both, so that its length is the server's.
        const TServerLock lock(PathFromUtf8(Path()));
        TLockedFile file(PathFromUtf8(Path()), TLockedFile::TAccess::Create);
        ListAllLines(false);
        file.ReadAll(bytes_, encoded.size() + 64);
        read = true;
        // Under the lock, so no other copy of the program is writing one now.
        RemoveStaleTemporaries(PathFromUtf8(Path()));
        return AppendLocked(lock, file, encoded);
    } catch (const std::exception& error) {
        // The list is the log as read, if it was, and the line that didn't
        // reach it.
        if (!read)
            bytes_ = std::string();
        ListAllLines(read);
        Rows();
        extra_.push_back(std::to_string(rows_.size() + 1) + ". " + text);
        rows_.push_back({extra_.size() - 1, kNotRead});

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

bool TResultsLog::HoldsResult(const std::string& text) {
    const std::string encoded = EncodeLine(text);
    try {
        TLockedFile file(PathFromUtf8(Locate()), TLockedFile::TAccess::Read);
        if (file.IsOpen() && Holds(file.ReadAll(), encoded))
            return true;
    } catch (const EPlatformError&) {
    }
    const TPendingResults pending;
    const auto& waiting = pending.Waiting();
    return std::find(waiting.begin(), waiting.end(), encoded) != waiting.end();
}

int TResultsLog::AppendLocked(const TServerLock& lock, TLockedFile& file,
                              const std::string& encoded) {
    std::string& bytes = bytes_;
    TPendingResults pending;
    const TShape shape = ShapeOf(bytes);
    std::size_t count = shape.lines;

    std::string added;
    for (const std::string& waiting : pending.Waiting())
        if (!Holds(bytes, waiting))
            added += std::to_string(++count) + ". " + waiting + "\r\n";
    const int k = int(++count);
    added += std::to_string(k) + ". " + encoded + "\r\n";

    ThrowIfLockLost(lock, Path());
    if (shape.crLf) {
        std::string tail(LineEndToClose(bytes));
        tail += added;
        file.AppendAt(bytes.size(), tail);
        bytes += tail;
    } else {
        std::string whole;
        whole.reserve(bytes.size() + added.size() + count);
        ForEachLine(bytes, [&](std::size_t offset, std::size_t size, TLineEnd) {
            whole.append(bytes, offset, size);
            whole += "\r\n";
        });
        whole += added;
        file.Replace(whole, bytes, PathFromUtf8(UserDataFolder()));
        bytes = std::move(whole);
    }
    pending.Done();
    // The list is the log as it now is; its lines are decoded only when the
    // statistics window asks for them.
    ListAllLines(true);
    return k;
}

// Whether `bytes`, the log as it is now, is the log as it was last read or
// written with lines appended; those lines start at `since`.
bool TResultsLog::AppendedSince(std::string_view bytes, std::size_t& since) const {
    if (bytes.size() < bytes_.size() || bytes.compare(0, bytes_.size(), bytes_) != 0)
        return false;
    since = bytes_.size();
    const char lastByte = bytes_.empty() ? '\n' : bytes_.back();
    if (since < bytes.size() && lastByte != '\n') {
        // The last line had no line end, or only CR: an appending copy ended it.
        const std::string_view rest = bytes.substr(since);
        if (lastByte == '\r') {
            if (rest.front() == '\n')
                ++since;
        } else if (rest.starts_with("\r\n")) {
            since += 2;
        } else if (rest.front() == '\r' || rest.front() == '\n') {
            ++since;
        } else {
            return false; // the last line itself was changed
        }
    }
    return true;
}

void TResultsLog::Save() {
    const std::string path = Path();
    CreateOwnFolder();
    const TServerLock lock(PathFromUtf8(path));
    TLockedFile file(PathFromUtf8(path), TLockedFile::TAccess::Create);
    std::string current = file.ReadAll();
    std::size_t since = current.size();
    if (remembered_ && !AppendedSince(current, since)) {
        Take(std::move(current));
        throw EResultsLogChanged(path);
    }

    // The lines read from the file go out as they were read: decoding and
    // encoding them again would give the same bytes.
    const std::vector<TRow>& rows = Rows();
    std::string content;
    content.reserve(bytes_.size() + (current.size() - since) + 2 * rows.size());
    std::vector<TRow> saved;
    saved.reserve(rows.size());
    for (const TRow& row : rows) {
        if (row.size == kNotRead) {
            saved.push_back(row);
            content += EncodeLine(extra_[row.offset]);
        } else {
            saved.push_back({content.size(), row.size});
            content += RowBytes(row);
        }
        content += "\r\n";
    }
    const std::string_view added = std::string_view(current).substr(since);
    ForEachLine(added, [&](std::size_t offset, std::size_t size, TLineEnd) {
        saved.push_back({content.size(), size});
        content += added.substr(offset, size);
        content += "\r\n";
    });

    RemoveStaleTemporaries(PathFromUtf8(path));
    ThrowIfLockLost(lock, path);
    if (content != current)
        file.Replace(content, current, PathFromUtf8(UserDataFolder()));
    bytes_ = std::move(content);
    remembered_ = true;
    rows_ = std::move(saved);
    allRows_ = false;
}

void TResultsLog::DeleteLine(std::size_t index) {
    Rows();
    if (index < rows_.size())
        rows_.erase(rows_.begin() + std::ptrdiff_t(index));
}

void TResultsLog::Clear() {
    rows_.clear();
    allRows_ = false;
    extra_.clear();
}

std::vector<std::string_view> TResultsLog::SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    ForEachLine(bytes, [&](std::size_t offset, std::size_t size, TLineEnd) {
        lines.push_back(bytes.substr(offset, size));
    });
    return lines;
}

std::vector<std::string> TResultsLog::ParseLog(std::string_view bytes) {
    std::vector<std::string> lines;
    ForEachLine(bytes, [&](std::size_t offset, std::size_t size, TLineEnd) {
        lines.push_back(Cp1250ToUtf8(bytes.substr(offset, size)));
    });
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

std::size_t TLogLines::size() const {
    return log_.LineCount();
}

std::string TLogLines::operator[](std::size_t index) const {
    return log_.Line(index);
}

TLogLines::operator std::vector<std::string>() const {
    std::vector<std::string> lines;
    lines.reserve(size());
    for (std::string line : *this)
        lines.push_back(std::move(line));
    return lines;
}

bool operator==(const TLogLines& lines, const std::vector<std::string>& other) {
    if (lines.size() != other.size())
        return false;
    for (std::size_t i = 0; i < other.size(); ++i)
        if (lines[i] != other[i])
            return false;
    return true;
}

} // namespace kwizmar
