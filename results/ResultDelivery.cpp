#include "ResultDelivery.h"

#include "LogList.h"
#include "PendingResults.h"
#include "ResultsLogFile.h"

#include <utility>

namespace kwizmar {

namespace {

using TSteady = std::chrono::steady_clock;

} // namespace

TResultDelivery::TResultDelivery(std::chrono::milliseconds every)
    : every_(every), thread_([this] { Run(); }) {}

TResultDelivery::~TResultDelivery() {
    {
        const std::lock_guard guard(mutex_);
        ending_ = true;
        end_ = true;
        yield_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void TResultDelivery::Save(std::string folder, std::string text, TDone done,
                           std::optional<TAnswerRecord> record) {
    {
        const std::lock_guard guard(mutex_);
        jobs_.push_back({std::move(folder), std::move(text), std::move(done), std::move(record)});
        // The waiting results come along with the finish: their own wait for
        // the server's lock makes way for it.
        yield_ = true;
    }
    wake_.notify_all();
}

void TResultDelivery::Watch(std::string folder, std::function<void()> changed) {
    {
        const std::lock_guard guard(mutex_);
        folder_ = std::move(folder);
        changed_ = std::move(changed);
        nextTry_ = TSteady::now();
    }
    wake_.notify_all();
}

void TResultDelivery::TryNow() {
    {
        const std::lock_guard guard(mutex_);
        nextTry_ = TSteady::now();
    }
    wake_.notify_all();
}

std::size_t TResultDelivery::Waiting() {
    return TPendingResults::Count();
}

void TResultDelivery::Run() {
    std::unique_lock lock(mutex_);
    // A finish handed over before the end is still done: with the end's
    // stop its wait ends at once, and its result waits on this computer.
    while (!ending_ || !jobs_.empty()) {
        if (!jobs_.empty()) {
            TJob job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            int number = 0;
            std::exception_ptr error;
            try {
                TLogList list;
                number =
                    TResultsLogFile(job.folder).Append(list, job.text, {.stop = &end_}, job.record);
            } catch (...) {
                error = std::current_exception();
            }
            try {
                job.done(number, error);
            } catch (...) {
            }
            lock.lock();
            folder_ = std::move(job.folder);
            // A result that did not get in is tried again at once.
            nextTry_ = error ? TSteady::now() : TSteady::now() + every_;
            if (changed_) {
                const auto changed = changed_;
                lock.unlock();
                changed();
                lock.lock();
            }
            continue;
        }
        if (!ending_ && !folder_.empty() && TSteady::now() >= nextTry_) {
            TryWaiting(lock);
            continue;
        }
        if (ending_)
            break;
        if (nextTry_ == TSteady::time_point::max())
            wake_.wait(lock);
        else
            wake_.wait_until(lock, nextTry_);
    }
}

void TResultDelivery::TryWaiting(std::unique_lock<std::mutex>& lock) {
    yield_ = false;
    const std::string folder = folder_;
    const auto changed = changed_;
    lock.unlock();
    const std::size_t before = Waiting();
    // Records alone wait for their lines' next change of the log.
    if (before > 0 || TPendingRecords::Count() > 0) {
        try {
            // As long as the time to the next regular try: a lock another
            // computer holds is taken the moment it goes.
            TResultsLogFile(folder).DeliverWaiting({.patience = every_, .stop = &yield_});
        } catch (...) {
        }
    }
    const std::size_t after = before > 0 ? Waiting() : 0;
    if (changed && after != before)
        changed();
    lock.lock();
    // While results wait, the next try comes soon; else now and then, for
    // those another copy of the program left meanwhile.
    nextTry_ = TSteady::now() + (after > 0 ? every_ / 4 : every_);
}

} // namespace kwizmar
