#include "platform/terminationsignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// A signal handler may do next to nothing: it writes the signal's number to a socket,
// which the event loop then reads.
int signalSockets[2] = {-1, -1};
std::function<void()> *beforeEndStep = nullptr;

void forwardSignal(int signal) {
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &number, 1);
}

void endAsSignalled(int signal) {
    if (beforeEndStep && *beforeEndStep)
        (*beforeEndStep)();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installHandlers() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return;
    // Owned by the application object, it goes with it at the end of the run.
    auto *notifier =
        new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        unsigned char number = 0;
        if (::read(signalSockets[1], &number, 1) == 1)
            endAsSignalled(number);
    });
    struct sigaction action = {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}
} // namespace

void onTermination(std::function<void()> beforeEnd) {
    if (!beforeEndStep) {
        beforeEndStep = new std::function<void()>;
        installHandlers();
    }
    *beforeEndStep = std::move(beforeEnd);
}
