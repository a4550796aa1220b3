#include "LockdownRecord.h"

#include "AtomicFile.h"
#include "Folders.h"
#include "Paths.h"
#include "Processes.h"
#include "WholeFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace kwizmar {

namespace {

enum : unsigned {
    kDesktopIcons = 1u << 0,
    kDesktopView = 1u << 1,
    kTaskbar = 1u << 2,
    kTaskbarInput = 1u << 3,
    kStartButton = 1u << 4,
    kTaskSwitch = 1u << 5,
};

// The record's file; empty where the system names no data folder.
std::filesystem::path RecordFile() {
    const std::string folder = UserDataFolder();
    if (folder.empty())
        return {};
    return PathFromUtf8(folder) / TLockdownRecordFile::kFileName;
}

bool IsNumber(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

TLockdownHolder ThisLockdownHolder() {
    std::string process = ThisProcess();
    std::string start = StartOf(process);
    return {std::move(process), std::move(start)};
}

void TLockdownRecordFile::Write(const TLockdownHolder& holder) noexcept {
    try {
        const std::filesystem::path file = RecordFile();
        if (file.empty())
            return;
        std::error_code ec;
        std::filesystem::create_directories(file.parent_path(), ec);
        WriteFileAtomically(file, holder.process + "\n" + holder.start + "\n");
    } catch (...) {
    }
}

std::optional<TLockdownHolder> TLockdownRecordFile::Read() noexcept {
    try {
        const std::filesystem::path file = RecordFile();
        std::string bytes;
        if (file.empty() || TryReadWholeFile(file, bytes) != TWholeFileRead::Read)
            return std::nullopt;
        TLockdownHolder holder;
        const std::size_t end = bytes.find('\n');
        if (end != std::string::npos) {
            holder.process = bytes.substr(0, end);
            const std::size_t next = bytes.find('\n', end + 1);
            if (next != std::string::npos)
                holder.start = bytes.substr(end + 1, next - end - 1);
        }
        if (!IsNumber(holder.process))
            return TLockdownHolder{};
        return holder;
    } catch (...) {
        return std::nullopt;
    }
}

void TLockdownRecordFile::Remove() noexcept {
    try {
        const std::filesystem::path file = RecordFile();
        std::error_code ec;
        if (!file.empty())
            std::filesystem::remove(file, ec);
    } catch (...) {
    }
}

TRecordedLockdown::TRecordedLockdown(ILockdownOperations& shell, ILockdownRecord& record,
                                     TLockdownHolder holder, std::function<void(bool)> onLocked)
    : shell_(shell), record_(record), holder_(std::move(holder)), onLocked_(std::move(onLocked)) {}

void TRecordedLockdown::ShowDesktopIcons(bool on) {
    Apply(kDesktopIcons, !on, &ILockdownOperations::ShowDesktopIcons, on);
}
void TRecordedLockdown::EnableDesktopView(bool on) {
    Apply(kDesktopView, !on, &ILockdownOperations::EnableDesktopView, on);
}
void TRecordedLockdown::ShowTaskbar(bool on) {
    Apply(kTaskbar, !on, &ILockdownOperations::ShowTaskbar, on);
}
void TRecordedLockdown::EnableTaskbar(bool on) {
    Apply(kTaskbarInput, !on, &ILockdownOperations::EnableTaskbar, on);
}
void TRecordedLockdown::EnableStartButton(bool on) {
    Apply(kStartButton, !on, &ILockdownOperations::EnableStartButton, on);
}
void TRecordedLockdown::LockTaskSwitch(bool lock) {
    Apply(kTaskSwitch, lock, &ILockdownOperations::LockTaskSwitch, lock);
}

// The record is there before the shell is touched, so that a program killed
// right after hiding the taskbar has left it; it goes only once the shell is
// whole again.
void TRecordedLockdown::Apply(unsigned part, bool lock,
                              void (ILockdownOperations::*operation)(bool), bool argument) {
    const unsigned before = locked_;
    locked_ = lock ? before | part : before & ~part;
    if (!before && locked_) {
        record_.Write(holder_);
        if (onLocked_)
            onLocked_(true);
    }
    (shell_.*operation)(argument);
    if (before && !locked_) {
        if (record_.Read() == holder_)
            record_.Remove();
        if (onLocked_)
            onLocked_(false);
    }
}

bool LiftLockdownLeftBehind(ILockdownRecord& record, ILockdownOperations& ops,
                            const std::function<bool(const TLockdownHolder&)>& gone) {
    const std::optional<TLockdownHolder> holder = record.Read();
    if (!holder || (!holder->process.empty() && !gone(*holder)))
        return false;
    LiftEverything(ops);
    record.Remove();
    return true;
}

void LiftLockdownLeftBehind() {
    try {
        TLockdownRecordFile record;
        LiftLockdownLeftBehind(record, PlatformLockdown(), [](const TLockdownHolder& holder) {
            return ProcessGone(holder.process, holder.start);
        });
    } catch (...) {
    }
}

} // namespace kwizmar
