// How long the program takes from its start until its main window is on the
// screen, beside a minimal Qt Widgets program on the same X display, and how
// much memory each then holds. Needs DISPLAY (Xvfb will do):
//
//     Xvfb :90 & DISPLAY=:90 build/bin/startup_bench [runs]
//
// The two programs run in turn, `runs` times each (5 by default); the best
// time of each counts. The program starts on a settings folder of its own and
// on the sample test, as a pupil's first start would.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct TRun {
    double milliseconds = 0;
    long peakKiB = 0;
};

// The peak resident memory of a running process, from /proc.
long PeakKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

// Starts `argv` and waits until a top-level window of `width` x `height`
// (any size when 0) is mapped on the display.
TRun TimeToWindow(const std::vector<std::string>& argv, int width, int height) {
    // The server may still be taking leave of the program killed a moment
    // ago: a refused connection is tried again.
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    for (int attempt = 0; xcb_connection_has_error(x) && attempt < 100; ++attempt) {
        xcb_disconnect(x);
        usleep(10 * 1000);
        x = xcb_connect(nullptr, nullptr);
    }
    fcntl(xcb_get_file_descriptor(x), F_SETFD, FD_CLOEXEC); // not the started program's
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    TRun run;
    run.milliseconds = -1; // never mapped
    while (xcb_generic_event_t* event = xcb_wait_for_event(x)) {
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        const xcb_window_t window =
            mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
        free(event);
        if (!mapped)
            continue;
        xcb_get_geometry_reply_t* g =
            xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr);
        const bool wanted = g && (width == 0 || (g->width == width && g->height == height));
        free(g);
        if (wanted) {
            run.milliseconds =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
    }
    usleep(300 * 1000); // let it settle before its memory is read
    run.peakKiB = PeakKiB(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(x);
    return run;
}

} // namespace

int main(int argc, char* argv[]) {
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "startup_bench: needs an X display (DISPLAY), e.g. Xvfb\n");
        return 2;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::filesystem::path bin = std::filesystem::canonical("/proc/self/exe").parent_path();
    char pattern[] = "/tmp/kwizmar-bench-XXXXXX";
    const std::filesystem::path home = mkdtemp(pattern);
    for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS"})
        setenv(v, (home / v).c_str(), 1);
    setenv("HOME", home.c_str(), 1);

    const std::vector<std::string> minimal = {(bin / "minimal_qt").string()};
    const std::vector<std::string> program = {(bin / "kwizmar").string(),
                                              (bin / "Testy/geografia.ts2").string()};
    TimeToWindow(program, 602, 307); // the first start writes the settings and the file type
    TRun bestMinimal{1e9, 0}, bestProgram{1e9, 0};
    for (int i = 0; i < runs; ++i) {
        const TRun m = TimeToWindow(minimal, 0, 0);
        const TRun p = TimeToWindow(program, 602, 307);
        if (m.milliseconds < 0 || p.milliseconds < 0) {
            std::fprintf(stderr, "startup_bench: a window never showed\n");
            return 1;
        }
        bestMinimal.milliseconds = std::min(bestMinimal.milliseconds, m.milliseconds);
        bestProgram.milliseconds = std::min(bestProgram.milliseconds, p.milliseconds);
        bestMinimal.peakKiB = std::max(bestMinimal.peakKiB, m.peakKiB);
        bestProgram.peakKiB = std::max(bestProgram.peakKiB, p.peakKiB);
    }
    std::filesystem::remove_all(home);
    std::printf("start until the window is mapped (best of %d): minimal Qt %.1f ms, kwizmar "
                "%.1f ms, ratio %.2f\n",
                runs, bestMinimal.milliseconds, bestProgram.milliseconds,
                bestProgram.milliseconds / bestMinimal.milliseconds);
    std::printf("peak memory at that moment: minimal Qt %ld KiB, kwizmar %ld KiB, difference "
                "%+.1f MB\n",
                bestMinimal.peakKiB, bestProgram.peakKiB,
                double(bestProgram.peakKiB - bestMinimal.peakKiB) / 1024.0);
    return 0;
}
