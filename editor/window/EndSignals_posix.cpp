#include "EndSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace kwizmar {

namespace {

int signalPipe[2] = {-1, -1};

// Only what is safe in a signal handler: one byte down the pipe.
void Handler(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

} // namespace

void OnEndSignal(std::function<void()> ending) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [notifier, ending = std::move(ending)] {
                         char byte = 0;
                         [[maybe_unused]] const ssize_t read = ::read(signalPipe[1], &byte, 1);
                         notifier->setEnabled(false);
                         ending();
                     });
    struct sigaction action {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

} // namespace kwizmar
