#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

// Copies of the program at the same moment, each in a forked child of the
// test: the tests of the results log shared by several copies.

// Runs `body` in a forked child, which exits with 0 when it ran through and
// with 1 when it threw. With `alarmSeconds`, a child that hangs ends by its
// alarm, and so fails the test instead of holding the suite up.
template <class F> pid_t Spawn(F body, unsigned alarmSeconds = 0) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (alarmSeconds != 0)
            ::alarm(alarmSeconds);
        int status = 0;
        try {
            body();
        } catch (...) {
            status = 1;
        }
        _exit(status);
    }
    return child;
}

// Waits for every child and expects each to have exited with 0.
inline void ExpectAllExitedCleanly(const std::vector<pid_t>& children) {
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

// Waits at most `patience` for every child; false (and the children left as
// they are) when one is still running then. Expects each that ended to have
// exited with 0.
inline bool AllExitedCleanlyWithin(const std::vector<pid_t>& children,
                                   std::chrono::seconds patience) {
    const auto until = std::chrono::steady_clock::now() + patience;
    std::vector<pid_t> running = children;
    while (!running.empty()) {
        for (auto child = running.begin(); child != running.end();) {
            int status = 0;
            if (::waitpid(*child, &status, WNOHANG) == *child) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                child = running.erase(child);
            } else {
                ++child;
            }
        }
        if (!running.empty() && std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}
