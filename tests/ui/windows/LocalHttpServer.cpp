#include "LocalHttpServer.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace kwizmar::testing {

namespace {

// No test of these windows may reach the maker's real update site: unless a
// test points the about window at its own server, it asks a port where
// nothing listens.
const bool kNoRemoteUpdates = [] {
    setenv("KWIZMAR_UPDATE_URL", TLocalHttpServer::DeadAddress().c_str(), 1);
    return true;
}();

int BoundSocket(int& port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        throw std::runtime_error("socket");
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("bind");
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

void SendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += std::size_t(n);
    }
}

} // namespace

TLocalHttpServer::TLocalHttpServer() {
    listener_ = BoundSocket(port_);
    listen(listener_, 8);
    thread_ = std::thread([this] { Run(); });
}

TLocalHttpServer::~TLocalHttpServer() {
    stop_ = true;
    thread_.join();
    for (int client : unanswered_)
        close(client);
    close(listener_);
}

std::string TLocalHttpServer::BaseAddress() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void TLocalHttpServer::Serve(const std::string& path, const std::string& body) {
    const std::lock_guard lock(mutex_);
    bodies_[path] = body;
}

std::string TLocalHttpServer::DeadAddress() {
    int port = 0;
    const int fd = BoundSocket(port); // bound, never listening: connections are refused
    close(fd);
    return "http://127.0.0.1:" + std::to_string(port) + "/";
}

void TLocalHttpServer::Run() {
    while (!stop_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0)
            continue;
        const int client = accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            pollfd readable{client, POLLIN, 0};
            if (poll(&readable, 1, 2000) <= 0)
                break;
            const ssize_t n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, std::size_t(n));
        }
        ++requests_;
        if (silent_) {
            unanswered_.push_back(client);
            continue;
        }
        std::string path;
        if (request.rfind("GET ", 0) == 0)
            path = request.substr(4, request.find(' ', 4) - 4);
        std::string response;
        {
            const std::lock_guard lock(mutex_);
            const auto found = bodies_.find(path);
            if (found == bodies_.end()) {
                response =
                    "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
            } else {
                response = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                           std::to_string(found->second.size()) + "\r\nConnection: close\r\n\r\n" +
                           found->second;
            }
        }
        SendAll(client, response);
        shutdown(client, SHUT_WR);
        close(client);
    }
}

} // namespace kwizmar::testing
