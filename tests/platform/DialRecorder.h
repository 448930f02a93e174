#pragma once
// Writes down the notifications of a simulated dial, with the thread each came from, and lets
// a test wait for them.

#include "platform/RemoteAccess.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace xr::test {

class DialRecorder {
public:
    struct Notification {
        unsigned message;
        std::uint32_t state;
        std::uint32_t error;
        std::thread::id thread;
        bool operator==(const Notification&) const = default;
    };

    platform::RasDialNotifier notifier()
    {
        return [this](unsigned message, std::uint32_t state, std::uint32_t error) {
            {
                std::lock_guard lock(m_mutex);
                m_notifications.push_back({message, state, error, std::this_thread::get_id()});
            }
            m_changed.notify_all();
        };
    }

    // Waits until `count` notifications have come (a generous limit keeps a broken dial from
    // hanging the run) and answers all of them so far.
    std::vector<Notification> waitFor(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(30), [&] { return m_notifications.size() >= count; });
        return m_notifications;
    }

    // Waits for the dial's last notification: connected or an error.
    std::vector<Notification> waitForEnd()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(30), [&] {
            return !m_notifications.empty() &&
                   (m_notifications.back().error != 0 ||
                    m_notifications.back().state == platform::ras::StateConnected);
        });
        return m_notifications;
    }

    std::vector<Notification> notifications()
    {
        std::lock_guard lock(m_mutex);
        return m_notifications;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Notification> m_notifications;
};

} // namespace xr::test
