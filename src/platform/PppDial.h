#pragma once
// One dial through pppd: starts `pppd call NAME nodetach` as a process of its own session
// (never through a shell) and watches it on a thread of its own. The command line holds no
// option that pppd keeps for root (such as linkname), so that any member of dip may dial.
// While pppd runs, the link's state is reported as dial progress; an end before the link came
// up is reported with the code of pppd's exit status. After the link is up the dial only waits for pppd to
// end, so that the process is reaped; the connection's end is the notifier's to see.

#include "platform/RemoteAccess.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

namespace xr::platform {

class PppDial {
public:
    // The link's state for pppd's process id: a connection state, or ErrorInvalidHandle when
    // no pid file shows the link yet.
    using Probe = std::function<std::uint32_t(int pid)>;

    // Starts pppd; `spareHandle` is the dial's handle when pppd cannot be started (the failure
    // is then reported through the notifier like any other).
    PppDial(const std::string& pppd, const std::string& peer, ConnHandle spareHandle, Probe probe,
            RasDialNotifier notifier);
    // Stops watching; pppd itself goes on (a link that is up stays up when the program ends).
    ~PppDial();
    PppDial(const PppDial&) = delete;
    PppDial& operator=(const PppDial&) = delete;

    // pppd's process id, or the spare handle when it did not start.
    ConnHandle handle() const { return m_handle; }
    // The peer pppd was started for.
    const std::string& peer() const { return m_peer; }
    // True once pppd has ended and the dial has said its last.
    bool finished() const { return m_finished; }
    // True until pppd is seen to have ended (before the dial reports how it ended).
    bool pppdRunning();
    // Sends SIGTERM to pppd while it runs; its end is then reported as ErrorPortDisconnected.
    // False when pppd has already ended.
    bool hangUp();

private:
    void run(std::stop_token stop);
    // Reaps pppd when it has ended; answers whether it has.
    bool reaped(int& status);
    std::uint32_t endCode(int status) const;
    void report(std::stop_token stop, std::uint32_t state, std::uint32_t error);

    const std::string m_peer;
    int m_pid = 0;
    int m_startError = 0;
    ConnHandle m_handle = 0;
    const Probe m_probe;
    const RasDialNotifier m_notifier;
    std::mutex m_mutex; // guards the process: no signal reaches a pid after it was reaped
    bool m_exited = false;
    bool m_hungUp = false;
    std::condition_variable_any m_tick;
    std::atomic<bool> m_finished = false;
    std::jthread m_thread; // last: starts once everything above is ready
};

} // namespace xr::platform
