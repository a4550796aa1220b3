#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kwizmar::testing {

// A tiny HTTP server on 127.0.0.1 on a thread of its own, so that a download
// that blocks the window's thread still gets its answer. It answers GET with
// the body set for the path, or 404.
class TLocalHttpServer {
public:
    TLocalHttpServer();
    ~TLocalHttpServer();
    TLocalHttpServer(const TLocalHttpServer&) = delete;
    TLocalHttpServer& operator=(const TLocalHttpServer&) = delete;

    // "http://127.0.0.1:<port>/"
    std::string BaseAddress() const;
    void Serve(const std::string& path, const std::string& body);
    int Requests() const { return requests_; }
    // While silent, requests are read but never answered.
    void SetSilent(bool silent) { silent_ = silent; }

    // An address where nothing listens.
    static std::string DeadAddress();

private:
    void Run();

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> silent_{false};
    std::atomic<int> requests_{0};
    std::mutex mutex_;
    std::map<std::string, std::string> bodies_;
    std::vector<int> unanswered_;
    std::thread thread_;
};

} // namespace kwizmar::testing
