#pragma once

#include <csignal>
#include <cstddef>
#include <sys/resource.h>

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
