#pragma once

#include "Scratch.h"
#include "ServerLock.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

// Another computer's lock on the log, its holder's file touched now and then
// so that it never looks stale, until Release().
class TOtherComputersLock {
public:
    explicit TOtherComputersLock(const std::filesystem::path& log)
        : lock_(kwizmar::TServerLock::LockFileOf(log)) {
        std::filesystem::create_directory(lock_);
        WriteBytes(lock_ / "sala-7_4242__00ff", "komputer: sala-7\n");
        keeper_ = std::thread([this] {
            while (!released_) {
                std::error_code ec;
                std::filesystem::last_write_time(lock_ / "sala-7_4242__00ff",
                                                 std::filesystem::file_time_type::clock::now(), ec);
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            }
            std::filesystem::remove_all(lock_);
        });
    }
    ~TOtherComputersLock() { Release(); }
    void Release() {
        released_ = true;
        if (keeper_.joinable())
            keeper_.join();
    }

private:
    std::filesystem::path lock_;
    std::atomic<bool> released_{false};
    std::thread keeper_;
};
