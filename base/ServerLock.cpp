#include "ServerLock.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "ServerLockPlatform.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <thread>

namespace kwizmar {

namespace {

using namespace serverlock;
using TSteady = std::chrono::steady_clock;

// How often a waiting copy looks into another's lock.
constexpr auto kLookEvery = std::chrono::milliseconds(250);

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

// What one copy has seen of another's lock, to tell when it last changed where
// the server's clock can't be read, and to read that clock only now and then.
class TWatch {
public:
    void Saw(const TSeen& seen) {
        if (!known_ || !(seen == last_)) {
            known_ = true;
            last_ = seen;
            since_ = TSteady::now();
            probed_ = {};
        }
    }

    // Whether the lock seen last has stayed the same for `span` of this
    // computer's time.
    bool UnchangedFor(TSteady::duration span) const { return TSteady::now() - since_ >= span; }

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

// The locks this process holds now, in any of its threads.
std::mutex liveMutex;
std::set<std::string>& LiveHolders() {
    static std::set<std::string> live;
    return live;
}

void SetLive(const std::string& holder, bool live) {
    const std::lock_guard guard(liveMutex);
    if (live)
        LiveHolders().insert(holder);
    else
        LiveHolders().erase(holder);
}

// Whether the holder named `holder` is gone: a process of this computer that
// no longer runs, or this very process, which holds no lock but those of its
// threads (another is an older one it could not remove).
bool HolderGone(const std::string& holder) {
    const TServerLock::THolder who = TServerLock::Parse(holder);
    if (who.host != ThisHost() || who.pid.empty())
        return false;
    if (who.pid == ThisProcess()) {
        const std::lock_guard guard(liveMutex);
        return !LiveHolders().contains(holder);
    }
    return ProcessGone(who.pid, who.start);
}

bool OlderOnServer(const TSeen& seen, const std::filesystem::path& lock,
                   std::chrono::milliseconds bound) {
    const auto now = ServerNow(lock);
    return now && *now - seen.changed > std::chrono::nanoseconds(bound).count();
}

// A lock old by the server's clock is stale only once this copy, too, has
// seen it stay the same for half the bound: a server that stood still (a
// frozen or overloaded file server) makes every lock look old the moment it
// answers again, while its holder is about to finish its change.
bool Stale(const TSeen& seen, const std::filesystem::path& lock, TWatch& watch,
           std::chrono::milliseconds bound) {
    watch.Saw(seen);
    if (HolderGone(seen.holder))
        return true;
    if (watch.UnchangedFor(2 * bound))
        return true;
    return watch.UnchangedFor(bound / 2) &&
           watch.ProbeDue(std::max<TSteady::duration>(bound / 4, std::chrono::milliseconds(50))) &&
           OlderOnServer(seen, lock, bound);
}

// Removes the lock judged stale as `seen`, unless another copy took a new
// lock meanwhile. The copies that judge it stale at the same moment go one at
// a time, each under a breaker's lock, and each looks again under it.
void Break(const std::filesystem::path& lock, const TSeen& seen, const std::string& mine,
           const std::string& content, std::chrono::milliseconds bound) {
    const std::filesystem::path breaker = WithSuffix(lock, ".zrywanie");
    std::error_code ignored;
    switch (CreateExclusive(breaker, mine, content, ignored)) {
    case TCreated::Refused:
    case TCreated::NoRoom:
    case TCreated::Failed:
        return;
    case TCreated::Exists: {
        // A breaker killed at its work leaves its lock; it counts as stale as
        // any lock does, and is removed outright: breaking takes a moment, so
        // two breakers of one breaker's lock can't both be at it.
        const auto other = Look(breaker);
        if (other && (HolderGone(other->holder) || OlderOnServer(*other, breaker, bound)))
            RemoveLock(breaker, other->holder);
        return;
    }
    case TCreated::Yes:
        break;
    }
    const auto again = Look(lock);
    if (again && again->holder == seen.holder)
        RemoveLock(lock, seen.holder);
    RemoveLock(breaker, mine);
}

} // namespace

TServerLock::TServerLock(const std::filesystem::path& file, TWait wait) {
    try {
        lock_ = LockFileOf(file);
        const THolder me{ThisHost(), ThisProcess(), StartOf(ThisProcess()), Token()};
        holder_ = Name(me);
        content_ = "komputer: " + me.host + "\nproces: " + me.pid + "\nczas: " + TimeText() + "\n";
    } catch (...) {
        return;
    }
    // Known as this process's own before it exists, so that no other thread
    // takes it for one left behind.
    SetLive(holder_, true);
    const auto giveUp = TSteady::now() + wait.patience;
    std::minstd_rand jitter(std::random_device{}());
    auto pause = std::chrono::milliseconds(2);
    TWatch watch;
    TSteady::time_point nextLook{};
    int failed = 0;
    state_ = TState::Busy;
    for (;;) {
        if (wait.stop && wait.stop->load()) {
            state_ = TState::Stopped;
            break;
        }
        std::error_code error;
        switch (CreateExclusive(lock_, holder_, content_, error)) {
        case TCreated::Yes:
            state_ = TState::Held;
            // The server's clock as the lock's own file tells it: the probes
            // of that clock that could not be removed a minute before go now.
            if (const auto mine = Look(lock_); mine && mine->holder == holder_)
                RemoveOldProbes(lock_, mine->changed - 60'000'000'000LL);
            return;
        case TCreated::Refused:
            state_ = TState::Unneeded;
            error_ = error;
            break;
        case TCreated::NoRoom:
            state_ = TState::Failed;
            error_ = error;
            break;
        case TCreated::Failed:
            // A server that keeps failing is as good as gone: the change must
            // not go on under the file lock alone, which other computers
            // don't see; the result waits on this computer instead.
            error_ = error;
            if (++failed > 300 || TSteady::now() >= giveUp) {
                state_ = TState::Failed;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        case TCreated::Exists: {
            const auto now = TSteady::now();
            if (now >= giveUp)
                break;
            // Whether the lock is stale is judged at first sight (a holder
            // killed on this computer gives way at once), then now and
            // then: thirty copies looking into the lock at every try would
            // keep the server from its holder.
            if (now >= nextLook) {
                nextLook = now + kLookEvery;
                const auto seen = Look(lock_);
                if (!seen)
                    continue; // released meanwhile
                if (Stale(*seen, lock_, watch, wait.staleAfter)) {
                    Break(lock_, *seen, holder_, content_, wait.staleAfter);
                    continue;
                }
            }
            // Thirty copies finishing at the same second must not take turns
            // in lockstep: each waits a little more each time, by a drawn
            // amount.
            std::this_thread::sleep_for(pause +
                                        std::chrono::milliseconds(jitter() % (pause.count() + 1)));
            pause = std::min(pause * 2, std::chrono::milliseconds(40));
            continue;
        }
        }
        break;
    }
    SetLive(holder_, false);
}

TServerLock::~TServerLock() {
    if (Held()) {
        RemoveLock(lock_, holder_);
        SetLive(holder_, false);
    }
}

bool TServerLock::StillHeld() const {
    return Held() && Holds(lock_, holder_);
}

std::filesystem::path TServerLock::LockFileOf(const std::filesystem::path& file) {
    std::filesystem::path target = file;
    try {
        target = LinkTarget(file);
    } catch (const EFCreateError&) {
    }
    return WithSuffix(target, ".blokada");
}

std::string TServerLock::Name(const THolder& holder) {
    return holder.host + "_" + holder.pid + "_" + holder.start + "_" + holder.token;
}

TServerLock::THolder TServerLock::Parse(const std::string& name) {
    // From the right: a computer's name is the one part that may hold a "_".
    THolder holder;
    std::string rest = name;
    for (std::string* field : {&holder.token, &holder.start, &holder.pid}) {
        const std::size_t cut = rest.rfind('_');
        if (cut == std::string::npos)
            return THolder{};
        *field = rest.substr(cut + 1);
        rest.erase(cut);
    }
    holder.host = rest;
    return holder;
}

} // namespace kwizmar
