#pragma once

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Runs `action` with the size of files this process may write limited to
// `bytes`, so that a write past it fails as on a full disk. POSIX only.
template <class F> void WithFileSizeLimit(std::size_t bytes, F action);

template <class F> void WithFileSizeLimit(std::size_t bytes, F action) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    try {
        action();
    } catch (...) {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldSignal);
        throw;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
}

// Runs `save` in a child process that the system kills (SIGXFSZ) as soon as
// it writes past `bytes` of a file: a program killed in the middle of a save.
// Returns the child's process id once it is gone, or -1 when it wasn't killed
// so.
template <class F> pid_t KilledHalfWay(std::size_t bytes, F save) {
    const pid_t child = ::fork();
    if (child == 0) {
        rlimit limited{};
        getrlimit(RLIMIT_FSIZE, &limited);
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
        std::signal(SIGXFSZ, SIG_DFL);
        try {
            save();
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ ? child : -1;
}

// The names in the folder of `file` that start as the file's temporary files
// do ("<name>.tmp"), sorted.
inline std::vector<std::string> TemporaryFilesOf(const std::filesystem::path& file) {
    std::vector<std::string> names;
    const std::string prefix = file.filename().string() + ".tmp";
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
        if (entry.path().filename().string().starts_with(prefix))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
