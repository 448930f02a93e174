#include "platform/PosixSessionEndSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace xr::platform {

namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: a byte into the pipe that the event loop watches.
extern "C" void onSessionSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

void install(int signalNumber, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

} // namespace

PosixSessionEndSignals::PosixSessionEndSignals(QObject* parent) : SessionEndSignals(parent)
{
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PosixSessionEndSignals::drain);
    install(SIGTERM, onSessionSignal);
    install(SIGHUP, onSessionSignal);
    install(SIGINT, onSessionSignal);
}

PosixSessionEndSignals::~PosixSessionEndSignals()
{
    if (!m_notifier)
        return;
    install(SIGTERM, SIG_DFL);
    install(SIGHUP, SIG_DFL);
    install(SIGINT, SIG_DFL);
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void PosixSessionEndSignals::drain()
{
    char buffer[16];
    while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
    }
    emit sessionEnding();
}

} // namespace xr::platform
