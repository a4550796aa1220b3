#include "SambaRig.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
// Generous: the suite runs on a loaded machine with two cores.
constexpr auto kPatience = 60s;

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

template <class F> bool WaitFor(F ready) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

void WriteFile(const std::filesystem::path& file, const std::string& text, mode_t mode) {
    std::ofstream(file) << text;
    ::chmod(file.c_str(), mode);
}

// Runs `argv` with `home` as HOME (when given), its output into `log`, in a
// process group of its own; returns its id.
pid_t Start(const std::vector<std::string>& argv, const std::filesystem::path& log,
            const std::filesystem::path& home = {}) {
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

} // namespace

std::string TSambaRig::Unavailable() {
    if (::access("/dev/fuse", R_OK | W_OK) != 0)
        return "/dev/fuse is missing here: FUSE file systems (the SMB clients) can't be mounted";
    return "";
}

TSambaRig::TSambaRig(int clients) {
    // Other users' SMB clients see the share only through the mount's owner.
    std::filesystem::permissions(Root(), std::filesystem::perms(0755));
    try {
        StartServer();
        for (int c = 0; c < clients; ++c)
            Mount(c);
    } catch (...) {
        Stop();
        throw;
    }
}

TSambaRig::~TSambaRig() {
    Stop();
}

void TSambaRig::Stop() {
    for (const std::filesystem::path& mount : mounts_) {
        const pid_t child = Start({"fusermount", "-u", "-z", mount.string()}, Root() / "rig.log");
        ::waitpid(child, nullptr, 0);
    }
    mounts_.clear();
    if (server_ > 0) {
        ::kill(-server_, SIGTERM);
        int status = 0;
        const bool ended = WaitFor([&] { return ::waitpid(server_, &status, WNOHANG) == server_; });
        ::kill(-server_, SIGKILL);
        if (!ended)
            ::waitpid(server_, &status, 0);
        server_ = -1;
    }
}

void TSambaRig::StartServer() {
    port_ = FreePort();
    const std::filesystem::path state = Root() / "samba";
    for (const char* sub : {"private", "lock", "state", "pid", "cache", "ncalrpc"})
        std::filesystem::create_directories(state / sub);
    std::filesystem::create_directories(ServerFolder());
    std::filesystem::permissions(ServerFolder(), std::filesystem::perms(0777));
    const std::string s = state.string();
    WriteFile(state / "smb.conf",
              "[global]\n"
              "  server role = standalone server\n"
              "  bind interfaces only = yes\n"
              "  interfaces = lo\n"
              "  smb ports = " +
                  std::to_string(port_) +
                  "\n"
                  "  private dir = " +
                  s + "/private\n  lock directory = " + s + "/lock\n  state directory = " + s +
                  "/state\n  pid directory = " + s + "/pid\n  cache directory = " + s +
                  "/cache\n  ncalrpc dir = " + s +
                  "/ncalrpc\n"
                  "  map to guest = Bad User\n"
                  "  load printers = no\n  printing = bsd\n  printcap name = /dev/null\n"
                  "  disable spoolss = yes\n"
                  "[lab]\n"
                  "  path = " +
                  ServerFolder().string() +
                  "\n"
                  "  read only = no\n  guest ok = yes\n  force user = root\n",
              0644);
    server_ = Start({"smbd", "-F", "--no-process-group", "--debug-stdout", "-d", "1", "-s",
                     (state / "smb.conf").string()},
                    Root() / "smbd.log");
    if (!WaitFor([&] {
            int status = 0;
            if (::waitpid(server_, &status, WNOHANG) == server_)
                throw std::runtime_error("smbd ended at its start; see its log");
            return Listening(port_);
        }))
        throw std::runtime_error("smbd did not listen on its port");
}

void TSambaRig::Mount(int client) {
    const std::filesystem::path home = Root() / ("klient" + std::to_string(client));
    const std::filesystem::path mount = Root() / ("mnt" + std::to_string(client));
    std::filesystem::create_directories(home / ".smb");
    std::filesystem::create_directories(mount);
    // smbnetfs reads the credentials only from a file no one else may read.
    WriteFile(home / ".smb/smbnetfs.conf",
              "smb_query_browsers \"false\"\n"
              "auth \"gosc\" \"gosc\"\n",
              0600);
    const pid_t child = Start({"smbnetfs", mount.string()}, Root() / "rig.log", home);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("smbnetfs could not mount " + mount.string());
    mounts_.push_back(mount);
    if (!WaitFor([&] {
            struct stat st {};
            return ::stat(Share(client).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }))
        throw std::runtime_error("the share did not appear in " + mount.string());
}

std::filesystem::path TSambaRig::Share(int client) const {
    return mounts_.at(std::size_t(client)) / ("127.0.0.1:" + std::to_string(port_)) / "lab";
}
