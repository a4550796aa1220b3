#include "ServerLock.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "ServerLockPlatform.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <sstream>
#include <thread>

namespace kwizmar {

namespace {

using namespace serverlock;
using TSteady = std::chrono::steady_clock;

std::string TimeText() {
    const std::time_t now = std::time(nullptr);
    char text[32] = "";
    if (const std::tm* utc = std::gmtime(&now))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", utc);
    return text;
}

std::string Token() {
    std::random_device random;
    const auto mixed = (std::uint64_t(random()) << 32) ^ std::uint64_t(random()) ^
                       std::uint64_t(TSteady::now().time_since_epoch().count());
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(mixed));
    return text;
}

std::filesystem::path WithSuffix(std::filesystem::path path, const char* suffix) {
    path += suffix;
    return path;
}

// What one copy has seen of another's lock file, to tell when it last changed
// where the server's clock can't be read.
class TWatch {
public:
    // Whether `seen` has stayed the same for `span` of this computer's time.
    bool UnchangedFor(const TSeen& seen, TSteady::duration span) {
        const auto now = TSteady::now();
        if (!known_ || seen.content != last_.content || seen.changed != last_.changed) {
            known_ = true;
            last_ = seen;
            since_ = now;
            probed_ = {};
        }
        return now - since_ >= span;
    }

    // Whether the server's clock should be read again: at first sight of a
    // lock, then a few times within the bound, never at every look.
    bool ProbeDue(TSteady::duration every) {
        const auto now = TSteady::now();
        if (probed_ != TSteady::time_point{} && now - probed_ < every)
            return false;
        probed_ = now;
        return true;
    }

private:
    bool known_ = false;
    TSeen last_;
    TSteady::time_point since_, probed_;
};

bool HolderGone(const TSeen& seen) {
    const TServerLock::THolder holder = TServerLock::Parse(seen.content);
    return holder.host == ThisHost() && !holder.pid.empty() &&
           ProcessGone(holder.pid, holder.start);
}

bool OlderOnServer(const TSeen& seen, const std::filesystem::path& lockFile,
                   std::chrono::milliseconds bound) {
    const auto now = ServerNow(lockFile);
    return now && *now - seen.changed > std::chrono::nanoseconds(bound).count();
}

bool Stale(const TSeen& seen, const std::filesystem::path& lockFile, TWatch& watch,
           std::chrono::milliseconds bound) {
    if (HolderGone(seen))
        return true;
    if (watch.UnchangedFor(seen, 2 * bound))
        return true;
    return watch.ProbeDue(std::max<TSteady::duration>(bound / 4, std::chrono::milliseconds(50))) &&
           OlderOnServer(seen, lockFile, bound);
}

// Removes the lock file judged stale as `seen`, unless another copy took a
// new lock meanwhile. The copies that judge it stale at the same moment go one
// at a time, each under a breaker's lock file, and each looks again under it.
void Break(const std::filesystem::path& lockFile, const TSeen& seen, const std::string& content,
           std::chrono::milliseconds bound) {
    const std::filesystem::path breaker = WithSuffix(lockFile, ".zrywanie");
    switch (CreateExclusive(breaker, content)) {
    case TCreated::Refused:
        return;
    case TCreated::Exists: {
        // A breaker killed at its work leaves its file; it counts as stale
        // as a lock file does, and is removed outright: breaking takes a
        // moment, so two breakers of one breaker's file can't both be at it.
        const auto other = ReadLock(breaker);
        if (other && (HolderGone(*other) || OlderOnServer(*other, breaker, bound)))
            Remove(breaker);
        return;
    }
    case TCreated::Yes:
        break;
    }
    const auto again = ReadLock(lockFile);
    if (again && again->content == seen.content && again->changed == seen.changed)
        Remove(lockFile);
    const auto mine = ReadLock(breaker);
    if (mine && mine->content == content)
        Remove(breaker);
}

} // namespace

TServerLock::TServerLock(const std::filesystem::path& file, std::chrono::milliseconds staleAfter) {
    try {
        lockFile_ = LockFileOf(file);
        content_ = Format({ThisHost(), ThisProcess(), StartOf(ThisProcess()), TimeText(), Token()});
    } catch (...) {
        return;
    }
    // A lock that stays whatever is done to it (a folder in its place, a
    // lock file that can't be removed) holds no copy's result back for ever:
    // past this the change goes on under the file lock alone.
    const auto giveUp = TSteady::now() + 6 * staleAfter + std::chrono::seconds(5);
    std::minstd_rand jitter(std::random_device{}());
    auto pause = std::chrono::milliseconds(2);
    TWatch watch;
    while (TSteady::now() < giveUp) {
        switch (CreateExclusive(lockFile_, content_)) {
        case TCreated::Yes:
            held_ = true;
            return;
        case TCreated::Refused:
            return;
        case TCreated::Exists:
            break;
        }
        const auto seen = ReadLock(lockFile_);
        if (!seen)
            continue; // released meanwhile
        if (Stale(*seen, lockFile_, watch, staleAfter)) {
            Break(lockFile_, *seen, content_, staleAfter);
            continue;
        }
        // Thirty copies finishing at the same second must not take turns in
        // lockstep: each waits a little more each time, by a drawn amount.
        std::this_thread::sleep_for(pause +
                                    std::chrono::milliseconds(jitter() % (pause.count() + 1)));
        pause = std::min(pause * 2, std::chrono::milliseconds(40));
    }
}

TServerLock::~TServerLock() {
    if (StillHeld())
        Remove(lockFile_);
}

bool TServerLock::StillHeld() const {
    if (!held_)
        return false;
    const auto seen = ReadLock(lockFile_);
    return seen && seen->content == content_;
}

std::filesystem::path TServerLock::LockFileOf(const std::filesystem::path& file) {
    std::filesystem::path target = file;
    try {
        target = LinkTarget(file);
    } catch (const EFCreateError&) {
    }
    return WithSuffix(target, ".blokada");
}

std::string TServerLock::Format(const THolder& holder) {
    return holder.host + "\n" + holder.pid + "\n" + holder.start + "\n" + holder.time + "\n" +
           holder.token + "\n";
}

TServerLock::THolder TServerLock::Parse(const std::string& content) {
    THolder holder;
    std::istringstream lines(content);
    for (std::string* field :
         {&holder.host, &holder.pid, &holder.start, &holder.time, &holder.token}) {
        if (!std::getline(lines, *field))
            return THolder{};
        if (!field->empty() && field->back() == '\r')
            field->pop_back();
    }
    return holder;
}

} // namespace kwizmar
