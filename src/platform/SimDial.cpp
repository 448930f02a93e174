#include "platform/SimDial.h"

#include <algorithm>
#include <array>

namespace xr::platform {

namespace {

// The states a dial goes through, in order; the last one is reached when the dial duration is over.
constexpr std::array<std::uint32_t, 8> DialSteps = {ras::StateOpenPort,
                                                    ras::StatePortOpened,
                                                    ras::StateConnectDevice,
                                                    ras::StateDeviceConnected,
                                                    ras::StateAllDevicesConnected,
                                                    ras::StateAuthenticate,
                                                    ras::StateAuthenticated,
                                                    ras::StateConnected};

// How often a waiting dial looks for a hang-up made by another process.
constexpr std::chrono::milliseconds FileCheckPeriod{100};

} // namespace

SimDial::SimDial(const SimStateFile& file, ConnHandle handle, const SimEntry& entry, RasDialNotifier notifier)
    : m_file(file), m_handle(handle), m_entry(entry), m_notifier(std::move(notifier)), m_start(Clock::now()),
      m_thread([this](std::stop_token stop) {
          run(stop);
          m_finished = true;
      })
{
}

SimDial::~SimDial()
{
    m_thread.request_stop();
    if (m_thread.joinable())
        m_thread.join();
}

void SimDial::wake()
{
    {
        std::lock_guard lock(m_mutex);
        m_woken = true;
    }
    m_wakeUp.notify_all();
}

std::uint32_t SimDial::failingState(std::uint32_t code)
{
    switch (code) {
    case ras::ErrorPortNotAvailable:
        return ras::StateOpenPort;
    case ras::ErrorAuthenticationFailure:
        return ras::StateAuthenticate;
    case ras::ErrorNoProjection:
        return ras::StateAuthenticated;
    default: // busy, no answer, no dial tone, a dropped line and anything else: the modem's call
        return ras::StateConnectDevice;
    }
}

void SimDial::run(std::stop_token stop)
{
    const bool fails = m_entry.failCode != 0;
    const std::uint32_t failAt = fails ? failingState(m_entry.failCode) : 0;
    std::uint32_t current = DialSteps.front();
    for (std::size_t step = 0; step < DialSteps.size(); ++step) {
        const Wait wait = waitUntil(stop, stepTime(step));
        if (wait == Wait::Stopped)
            return abandon();
        const std::uint32_t entered =
            wait == Wait::Vanished ? ras::ErrorInvalidHandle : enterState(DialSteps[step]);
        if (entered != ras::Success)
            return report(stop, current,
                          entered == ras::ErrorInvalidHandle ? ras::ErrorPortDisconnected : entered);
        current = DialSteps[step];
        report(stop, current, ras::Success);
        if (fails && current == failAt) {
            const Wait failWait = waitUntil(stop, stepTime(step + 1));
            if (failWait == Wait::Stopped)
                return abandon();
            return report(stop, current,
                          failWait == Wait::Vanished ? ras::ErrorPortDisconnected : endWithFailure());
        }
    }
}

SimDial::Clock::time_point SimDial::stepTime(std::size_t step) const
{
    const auto total = std::chrono::milliseconds(m_entry.dialMs);
    return m_start + total * static_cast<long>(step) / static_cast<long>(DialSteps.size() - 1);
}

SimDial::Wait SimDial::waitUntil(std::stop_token stop, Clock::time_point deadline)
{
    for (;;) {
        if (stop.stop_requested())
            return Wait::Stopped;
        const auto now = Clock::now();
        if (now >= deadline)
            return Wait::Elapsed;
        {
            std::unique_lock lock(m_mutex);
            m_wakeUp.wait_until(lock, stop, std::min(deadline, now + FileCheckPeriod),
                                [this] { return m_woken; });
            m_woken = false;
        }
        if (stop.stop_requested())
            return Wait::Stopped;
        if (!connectionPresent())
            return Wait::Vanished;
    }
}

bool SimDial::connectionPresent() const
{
    SimState state;
    std::string error;
    // A file that cannot be read now is judged at the next step, which must write it.
    return !m_file.read(state, error) || state.findConnection(m_handle) != nullptr;
}

// Moves the connection to `state`: Success, ErrorInvalidHandle when it is gone, or a file failure.
std::uint32_t SimDial::enterState(std::uint32_t state)
{
    bool present = false;
    std::string error;
    const bool written = m_file.update(
        [&](SimState& s) {
            SimConnection* connection = s.findConnection(m_handle);
            present = connection != nullptr;
            if (present) {
                connection->state = state;
                if (state == ras::StateConnected)
                    connection->dialPid = 0;
            }
            return present;
        },
        error);
    if (!written)
        return ras::ErrorCannotOpenPhonebook;
    return present ? ras::Success : ras::ErrorInvalidHandle;
}

// Removes the failed dial's connection and answers the code to report.
std::uint32_t SimDial::endWithFailure()
{
    bool present = false;
    std::string error;
    if (!m_file.update([&](SimState& s) { return present = s.removeConnection(m_handle); }, error))
        return ras::ErrorCannotOpenPhonebook;
    return present ? m_entry.failCode : ras::ErrorPortDisconnected;
}

void SimDial::abandon()
{
    std::string error;
    m_file.update(
        [this](SimState& s) {
            const SimConnection* connection = s.findConnection(m_handle);
            return connection && connection->state != ras::StateConnected && s.removeConnection(m_handle);
        },
        error);
}

void SimDial::report(std::stop_token stop, std::uint32_t state, std::uint32_t error)
{
    if (!stop.stop_requested())
        m_notifier(ras::DialEventMessage, state, error);
}

} // namespace xr::platform
