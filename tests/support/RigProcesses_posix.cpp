#include "RigProcesses.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rig {

int FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(s);
    if (port == 0)
        throw std::runtime_error("no free port on 127.0.0.1");
    return port;
}

bool Listening(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(std::uint16_t(port));
    const bool up = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return up;
}

void WriteFile(const std::filesystem::path& file, const std::string& text, mode_t mode) {
    std::ofstream(file) << text;
    ::chmod(file.c_str(), mode);
}

pid_t Start(const std::vector<std::string>& argv, const std::filesystem::path& log,
            const std::filesystem::path& home) {
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        ::setpgid(0, 0);
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ::dup2(out, 1);
        ::dup2(out, 2);
        if (!home.empty())
            ::setenv("HOME", home.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        _exit(127);
    }
    return child;
}

bool Run(const std::vector<std::string>& argv, const std::filesystem::path& log,
         const std::filesystem::path& home) {
    const pid_t child = Start(argv, log, home);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void StopGroup(pid_t leader) {
    if (leader <= 0)
        return;
    ::kill(-leader, SIGTERM);
    int status = 0;
    const bool ended = WaitFor([&] { return ::waitpid(leader, &status, WNOHANG) == leader; });
    ::kill(-leader, SIGKILL);
    if (!ended)
        ::waitpid(leader, &status, 0);
}

void AwaitListening(pid_t server, int port, const std::string& what) {
    if (!WaitFor([&] {
            int status = 0;
            if (::waitpid(server, &status, WNOHANG) == server)
                throw std::runtime_error(what + " ended at its start; see its log");
            return Listening(port);
        }))
        throw std::runtime_error(what + " did not listen on its port");
}

void TParts::Stop(const std::filesystem::path& log) {
    for (const std::filesystem::path& mount : mounts)
        Run({"fusermount", "-u", "-z", mount.string()}, log);
    mounts.clear();
    for (pid_t client : clients)
        StopGroup(client);
    clients.clear();
    StopGroup(server);
    server = -1;
}

} // namespace rig
