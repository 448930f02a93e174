#pragma once
// Network interface states and byte counters that a test sets and a back-end's lookups answer,
// also from the back-end's dial threads.

#include "platform/LinkInterface.h"

#include <map>
#include <mutex>
#include <string>

namespace xr::test {

class FakeInterfaces {
public:
    void set(const std::string& name, bool up, const std::string& ipv4 = {})
    {
        std::lock_guard lock(m_mutex);
        m_states[name] = platform::InterfaceState{true, up, ipv4};
    }
    platform::InterfaceLookup lookup()
    {
        return [this](const std::string& name) {
            std::lock_guard lock(m_mutex);
            const auto it = m_states.find(name);
            return it == m_states.end() ? platform::InterfaceState() : it->second;
        };
    }

    void setCounters(const std::string& name, std::uint64_t received, std::uint64_t sent)
    {
        std::lock_guard lock(m_mutex);
        m_counters[name] = platform::ByteCounts{received, sent};
    }
    platform::CounterLookup counters()
    {
        return [this](const std::string& name) -> std::optional<platform::ByteCounts> {
            std::lock_guard lock(m_mutex);
            const auto it = m_counters.find(name);
            if (it == m_counters.end())
                return std::nullopt;
            return it->second;
        };
    }

private:
    std::mutex m_mutex;
    std::map<std::string, platform::InterfaceState> m_states;
    std::map<std::string, platform::ByteCounts> m_counters;
};

} // namespace xr::test
