#include "platform/PppDial.h"

#include "platform/PppErrors.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace xr::platform {

namespace {

// How often a dial looks at pppd and at its link.
constexpr std::chrono::milliseconds WatchPeriod{100};

// Starts pppd with its arguments as a list; answers 0 and the pid, or the errno of the failure.
int spawnPppd(const std::string& pppd, const std::string& peer, int& pid)
{
    std::vector<std::string> arguments = {pppd, "call", peer, "nodetach"};
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&files);
    posix_spawnattr_init(&attributes);
    for (int fd : {0, 1, 2})
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    // A session of its own: the link outlives the program and no terminal signal reaches it.
    // No signal blocked, and the ones that end pppd at their default (an ignored one stays
    // ignored across exec).
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t ending;
    sigemptyset(&ending);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE})
        sigaddset(&ending, signal);
    posix_spawnattr_setsigdefault(&attributes, &ending);
    pid_t child = 0;
    const int error = posix_spawn(&child, pppd.c_str(), &files, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    pid = error == 0 ? child : 0;
    return error;
}

} // namespace

PppDial::PppDial(const std::string& pppd, const std::string& peer, ConnHandle spareHandle, Probe probe,
                 RasDialNotifier notifier)
    : m_peer(peer), m_startError(spawnPppd(pppd, peer, m_pid)),
      m_handle(m_startError == 0 ? static_cast<ConnHandle>(m_pid) : spareHandle), m_probe(std::move(probe)),
      m_notifier(std::move(notifier)), m_exited(m_startError != 0), m_thread([this](std::stop_token stop) {
          run(stop);
          m_finished = true;
      })
{
}

PppDial::~PppDial()
{
    m_thread.request_stop();
    if (m_thread.joinable())
        m_thread.join();
}

bool PppDial::hangUp()
{
    std::lock_guard lock(m_mutex);
    if (m_exited)
        return false;
    m_hungUp = true;
    return ::kill(m_pid, SIGTERM) == 0;
}

bool PppDial::pppdRunning()
{
    std::lock_guard lock(m_mutex);
    return !m_exited;
}

bool PppDial::reaped(int& status)
{
    std::lock_guard lock(m_mutex);
    if (!m_exited && ::waitpid(m_pid, &status, WNOHANG) == m_pid)
        m_exited = true;
    return m_exited;
}

std::uint32_t PppDial::endCode(int status) const
{
    if (m_hungUp)
        return ras::ErrorPortDisconnected;
    if (WIFEXITED(status))
        return ppp::exitStatusCode(WEXITSTATUS(status));
    return ppp::exitStatusCode(5); // ended by a signal, as pppd's own status 5 says
}

void PppDial::run(std::stop_token stop)
{
    if (m_startError != 0)
        return report(stop, ras::StateOpenPort, ppp::startFailureCode(m_startError));
    report(stop, ras::StateOpenPort, ras::Success);
    std::uint32_t state = ras::StateOpenPort;
    std::mutex sleeper;
    while (!stop.stop_requested()) {
        int status = 0;
        if (reaped(status)) {
            if (state != ras::StateConnected)
                report(stop, state, endCode(status));
            return;
        }
        if (state != ras::StateConnected) {
            const std::uint32_t seen = m_probe(m_pid);
            const std::uint32_t now = seen == ras::ErrorInvalidHandle ? ras::StateConnectDevice : seen;
            if (now != state)
                report(stop, now, ras::Success);
            state = now;
        }
        std::unique_lock lock(sleeper);
        m_tick.wait_for(lock, stop, WatchPeriod, [] { return false; });
    }
}

void PppDial::report(std::stop_token stop, std::uint32_t state, std::uint32_t error)
{
    if (!stop.stop_requested())
        m_notifier(ras::DialEventMessage, state, error);
}

} // namespace xr::platform
