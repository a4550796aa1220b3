#include "LockdownRecorder.h"

#include <cstdio>
#include <cstdlib>

namespace kwizmar {

std::string TLockdownCall::ToString() const {
    return operation + (argument ? "(true)" : "(false)");
}

void TLockdownRecorder::ShowDesktopIcons(bool on) {
    Record("ShowDesktopIcons", on);
}
void TLockdownRecorder::EnableDesktopView(bool on) {
    Record("EnableDesktopView", on);
}
void TLockdownRecorder::ShowTaskbar(bool on) {
    Record("ShowTaskbar", on);
}
void TLockdownRecorder::EnableTaskbar(bool on) {
    Record("EnableTaskbar", on);
}
void TLockdownRecorder::EnableStartButton(bool on) {
    Record("EnableStartButton", on);
}
void TLockdownRecorder::LockTaskSwitch(bool lock) {
    Record("LockTaskSwitch", lock);
}

std::vector<TLockdownCall> TLockdownRecorder::Calls() const {
    std::lock_guard guard(mutex_);
    return calls_;
}

void TLockdownRecorder::Clear() {
    std::lock_guard guard(mutex_);
    calls_.clear();
}

void TLockdownRecorder::Record(const char* operation, bool argument) {
    std::lock_guard guard(mutex_);
    calls_.push_back({operation, argument});
    const char* log = std::getenv("KWIZMAR_LOCKDOWN_LOG");
    if (!log || !*log)
        return;
    if (std::FILE* f = std::fopen(log, "ab")) {
        const std::string line = calls_.back().ToString() + "\n";
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}

TLockdownRecorder& ProcessLockdownRecorder() {
    static TLockdownRecorder recorder;
    return recorder;
}

} // namespace kwizmar
