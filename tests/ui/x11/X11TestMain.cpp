#include "PrivateDisplay.h"

#include "Accessibility.h"
#include "ErrorHandler.h"
#include "FocusStyle.h"
#include "QtPolish.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kwizmar::testing {

namespace {

class TPrivateDisplay;
TPrivateDisplay* gDisplay = nullptr;

bool OnPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::string rest = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= rest.size();) {
        const std::size_t end = std::min(rest.find(':', start), rest.size());
        if (::access((rest.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// Runs `argv` as a child that dies with this process.
pid_t Spawn(const std::vector<std::string>& argv) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            ::_exit(127);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

std::vector<std::uint32_t> RootValues(xcb_connection_t* c, xcb_window_t root, const char* name) {
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    std::vector<std::uint32_t> values;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    std::free(atom);
    return values;
}

// Waits until the window manager manages windows: openbox names itself on
// the root window before it is ready, and a window mapped in between stays
// unmanaged. A probe window is mapped again until it is in the client list;
// it is made on each call, after any window manager before has ended, so
// only the new one can list it.
void WaitForWindowManager() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t probe = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    // It takes no focus, and going leaves none to give back: the window
    // manager's focus stays as it found it when it came.
    const std::uint32_t hints[9] = {1u /* InputHint */, 0 /* no input */};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, probe, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32,
                        9, hints);
    for (int i = 0; i < 200; ++i) {
        const auto clients = RootValues(c, screen->root, "_NET_CLIENT_LIST");
        if (std::find(clients.begin(), clients.end(), probe) != clients.end()) {
            xcb_destroy_window(c, probe);
            xcb_disconnect(c);
            return;
        }
        xcb_unmap_window(c, probe);
        xcb_map_window(c, probe);
        xcb_flush(c);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::fprintf(stderr, "The window manager didn't start on the test display\n");
    std::abort();
}

void SetResources(const std::string& text) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 16, "RESOURCE_MANAGER"), nullptr);
    // Checked, so that the server has done it before the connection ends.
    std::free(xcb_request_check(
        c, xcb_change_property_checked(c, XCB_PROP_MODE_REPLACE, screen->root, atom->atom,
                                       XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(text.size()),
                                       text.data())));
    std::free(atom);
    xcb_disconnect(c);
}

class TPrivateDisplay {
public:
    void Start() {
        if (!OnPath("Xvfb"))
            return;
        int fds[2];
        if (::pipe(fds) != 0)
            std::abort();
        // The screen's size in pixels, 1024x768 unless KWIZMAR_TEST_SCREEN names another.
        const char* size = std::getenv("KWIZMAR_TEST_SCREEN");
        children_.push_back(
            Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                   std::string(size ? size : "1024x768") + "x24", "-nolisten", "tcp", "-noreset"}));
        ::close(fds[1]);
        std::string number;
        char ch = 0;
        while (::read(fds[0], &ch, 1) == 1 && ch != '\n')
            number += ch;
        ::close(fds[0]);
        if (number.empty()) {
            std::fprintf(stderr, "Xvfb didn't start\n");
            std::abort();
        }
        setenv("DISPLAY", (":" + number).c_str(), 1);
        // A Polish keyboard, as a Polish school has: the Polish letters are
        // on its keys (AltGr), so that typed ones come as they do for a pupil.
        if (std::system("setxkbmap pl") != 0) {
            std::fprintf(stderr, "setxkbmap failed on the test display\n");
            std::abort();
        }
        // The desktop's scale as a desktop sets it (its "text size" too):
        // Xft.dpi among the X resources, which Qt reads as it starts.
        if (const char* dpi = std::getenv("KWIZMAR_TEST_XFT_DPI"))
            SetResources("Xft.dpi:\t" + std::string(dpi) + "\n");
        StartWindowManager();
        gDisplay = this;
    }

    void StartWindowManager(const std::vector<std::string>& command = {"openbox", "--sm-disable"}) {
        StopWindowManager();
        // A session of its own: the window manager and what it started
        // (a session bus) end together.
        std::vector<std::string> argv = {"setsid"};
        argv.insert(argv.end(), command.begin(), command.end());
        windowManager_ = Spawn(argv);
        WaitForWindowManager();
    }
    void StopWindowManager() {
        if (windowManager_ <= 0)
            return;
        ::kill(-windowManager_, SIGTERM);
        ::kill(windowManager_, SIGTERM);
        // One that doesn't end when asked (fluxbox now and then) is ended.
        for (int i = 0; i < 40 && ::waitpid(windowManager_, nullptr, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ::kill(-windowManager_, SIGKILL);
        ::kill(windowManager_, SIGKILL);
        ::waitpid(windowManager_, nullptr, 0);
        windowManager_ = 0;
    }
    // The running one gives way when the new one asks for the screen, and ends.
    void ReplaceWindowManager(const std::vector<std::string>& command = {"openbox", "--sm-disable",
                                                                         "--replace"}) {
        const pid_t old = windowManager_;
        std::vector<std::string> argv = {"setsid"};
        argv.insert(argv.end(), command.begin(), command.end());
        windowManager_ = Spawn(argv);
        if (old > 0)
            ::waitpid(old, nullptr, 0);
        WaitForWindowManager();
    }

    ~TPrivateDisplay() {
        StopWindowManager();
        for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
            ::kill(*it, SIGTERM);
            ::waitpid(*it, nullptr, 0);
        }
    }

private:
    std::vector<pid_t> children_;
    pid_t windowManager_ = 0;
};

} // namespace

bool HavePrivateDisplay() {
    return gDisplay != nullptr;
}

void StopWindowManager() {
    gDisplay->StopWindowManager();
}

void StartWindowManager() {
    gDisplay->StartWindowManager();
}

void ReplaceWindowManager() {
    gDisplay->ReplaceWindowManager();
}

void StartWindowManager(const std::vector<std::string>& command) {
    gDisplay->StartWindowManager(command);
}

void ReplaceWindowManager(const std::vector<std::string>& command) {
    gDisplay->ReplaceWindowManager(command);
}

} // namespace kwizmar::testing

int main(int argc, char** argv) {
    // Listing the tests needs no display.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strncmp(argv[i], "--gtest_list_tests", 18) == 0;
    kwizmar::testing::TPrivateDisplay display;
    if (!listing)
        display.Start();
    setenv("QT_QPA_PLATFORM", kwizmar::testing::HavePrivateDisplay() ? "xcb" : "offscreen", 1);
    QApplication app(argc, argv);
    kwizmar::SpeakPolish();
    kwizmar::InstallAccessibility();
    kwizmar::UseProgramStyle();
    kwizmar::SetApplicationTitle(QStringLiteral("Kwizmar 2002"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
