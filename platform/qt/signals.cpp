// A signal handler may only write to a pipe; the event loop reads it and quits.
#include "signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace vern::qt {

namespace {

int pipeEnds[2] = {-1, -1};

void OnSignal(int number) {
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
}

} // namespace

void QuitOnSignals(QCoreApplication& app) {
    if (pipeEnds[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0) return;
    auto* notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(pipeEnds[1], &byte, 1);
        QCoreApplication::exit(0); // no close box: the session is ending
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

} // namespace vern::qt
