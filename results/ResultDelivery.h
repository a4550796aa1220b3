#pragma once

#include "AnswerRecord.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// The results log's writer in a running program. The finish of an exam and
// the results waiting on this computer (TPendingResults) go to the log on a
// thread of their own, one change at a time, so that the window never waits
// for a file server that is slow, stopped or held by another computer.
//
// A result that did not get in waits on this computer and is tried again
// while the program runs: at once after the finish that left it, then again
// and again while another computer holds the log, and every `every` while the
// server fails. Results left by an earlier run are tried as soon as the log's
// folder is known (Watch), before any exam.

namespace kwizmar {

class TResultDelivery {
public:
    // How a finish went: the result's number in the log, or the failure
    // (EResultWaits: the result waits on this computer, or could not even be
    // kept there).
    using TDone = std::function<void(int number, std::exception_ptr error)>;

    explicit TResultDelivery(std::chrono::milliseconds every = std::chrono::seconds(60));
    // Gives up every wait for the server's lock (a result not yet in the log
    // stays among the waiting ones), finishes the change in progress and
    // ends the thread.
    ~TResultDelivery();
    TResultDelivery(const TResultDelivery&) = delete;
    TResultDelivery& operator=(const TResultDelivery&) = delete;

    // The finish of an exam: the results waiting and then `text` (the line
    // without its number) go to the log in `folder`, waiting for the
    // server's lock as long as a finish does (TLockWait::kPatience), and the
    // result's answers' `record` beside it; `done` is then called on the
    // delivery's thread. The folder is watched from then on.
    void Save(std::string folder, std::string text, TDone done,
              std::optional<TAnswerRecord> record = std::nullopt);

    // Tries what waits at once: a record kept for a line already in the log.
    void TryNow();

    // Watches the results waiting on this computer for the log in `folder`
    // (the one the program uses now): tries them at once and goes on while
    // any wait. `changed` (when given) is called on the delivery's thread
    // after every try that changed how many wait.
    void Watch(std::string folder, std::function<void()> changed = {});

    // How many results wait on this computer now.
    static std::size_t Waiting();

private:
    struct TJob {
        std::string folder, text;
        TDone done;
        std::optional<TAnswerRecord> record;
    };
    void Run();
    void TryWaiting(std::unique_lock<std::mutex>& lock);

    std::chrono::milliseconds every_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<TJob> jobs_;
    std::string folder_;
    std::function<void()> changed_;
    std::chrono::steady_clock::time_point nextTry_ = std::chrono::steady_clock::time_point::max();
    bool ending_ = false;
    // Stops a wait for the server's lock: every wait when the program ends,
    // the waiting results' wait when a finish comes.
    std::atomic<bool> end_{false};
    std::atomic<bool> yield_{false};
    std::thread thread_;
};

} // namespace kwizmar
