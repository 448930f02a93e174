#pragma once
// One dial of the simulated service, run on a thread of its own: it moves the connection in
// the state file through the dial states over the entry's dial duration and reports each step
// to the notifier. It fails where the entry's scripted code says, and stops when the connection
// disappears from the file (a hang-up by any process).

#include "platform/RemoteAccess.h"
#include "platform/SimStateFile.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>

namespace xr::platform {

class SimDial {
public:
    // Starts the dial of the connection `handle`, already in the file in its first state.
    SimDial(const SimStateFile& file, ConnHandle handle, const SimEntry& entry, RasDialNotifier notifier);
    // Stops the dial and waits for its thread; no notification follows. A dial that has not
    // connected yet is abandoned and its connection removed.
    ~SimDial();
    SimDial(const SimDial&) = delete;
    SimDial& operator=(const SimDial&) = delete;

    ConnHandle handle() const { return m_handle; }
    // True once the dial has connected, failed or stopped.
    bool finished() const { return m_finished; }
    // Makes the dial look at the file now (it was hung up here).
    void wake();

    // The state a dial failing with `code` fails in.
    static std::uint32_t failingState(std::uint32_t code);

private:
    using Clock = std::chrono::steady_clock;
    enum class Wait { Elapsed, Stopped, Vanished };

    void run(std::stop_token stop);
    Wait waitUntil(std::stop_token stop, Clock::time_point deadline);
    Clock::time_point stepTime(std::size_t step) const;
    bool connectionPresent() const;
    std::uint32_t enterState(std::uint32_t state);
    std::uint32_t endWithFailure();
    void abandon();
    void report(std::stop_token stop, std::uint32_t state, std::uint32_t error);

    const SimStateFile& m_file;
    const ConnHandle m_handle;
    const SimEntry m_entry;
    const RasDialNotifier m_notifier;
    Clock::time_point m_start;
    std::mutex m_mutex;
    std::condition_variable_any m_wakeUp;
    bool m_woken = false;
    std::atomic<bool> m_finished = false;
    std::jthread m_thread; // last: starts once everything above is ready
};

} // namespace xr::platform
