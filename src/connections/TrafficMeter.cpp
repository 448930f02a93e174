#include "connections/TrafficMeter.h"

namespace xr {

namespace {

std::uint64_t growth(std::uint64_t last, std::uint64_t now)
{
    return now >= last ? now - last : now;
}

} // namespace

void TrafficMeter::read(const std::optional<platform::ByteCounts>& counters)
{
    if (!counters)
        return;
    if (m_last) {
        m_moved.received += growth(m_last->received, counters->received);
        m_moved.sent += growth(m_last->sent, counters->sent);
    }
    m_last = counters;
}

std::optional<platform::ByteCounts> TrafficMeter::moved() const
{
    if (!m_last)
        return std::nullopt;
    return m_moved;
}

} // namespace xr
