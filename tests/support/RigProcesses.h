#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

// What the rigs of servers on 127.0.0.1 (SambaRig.h, SshfsRig.h) share: a
// free port, a server's start in a process group of its own, and patience.
namespace rig {

using namespace std::chrono_literals;
// Generous: the suite runs on a loaded machine with two cores.
inline constexpr auto kPatience = 60s;

int FreePort();
bool Listening(int port);

// Whether `ready` turned true within kPatience.
template <class F> bool WaitFor(F ready) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

void WriteFile(const std::filesystem::path& file, const std::string& text, mode_t mode);

// Runs `argv` with `home` as HOME (when given), its output into `log`, in a
// process group of its own; returns its id.
pid_t Start(const std::vector<std::string>& argv, const std::filesystem::path& log,
            const std::filesystem::path& home = {});

// Runs `argv` as Start() does and waits for it: whether it exited with 0.
bool Run(const std::vector<std::string>& argv, const std::filesystem::path& log,
         const std::filesystem::path& home = {});

// Ends the process group `leader` leads (SIGTERM, then SIGKILL) and reaps it.
void StopGroup(pid_t leader);

// Waits until `server` (named `what` in the errors) listens on `port`;
// throws std::runtime_error when it ends or doesn't listen in time.
void AwaitListening(pid_t server, int port, const std::string& what);

// What a rig started and stops again: a server, FUSE mounts and the clients
// that serve them (where they run as the rig's children).
struct TParts {
    pid_t server = -1;
    std::vector<std::filesystem::path> mounts;
    std::vector<pid_t> clients;

    // Runs `start`; where it throws, stops what it started, then rethrows.
    template <class F> void StartOrStop(F start, const std::filesystem::path& log) {
        try {
            start();
        } catch (...) {
            Stop(log);
            throw;
        }
    }
    // Unmounts (lazily), then ends the clients and the server.
    void Stop(const std::filesystem::path& log);
};

} // namespace rig
