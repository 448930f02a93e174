#pragma once
// The bytes one usage record's connection has moved, from readings of its interface's counters:
// the first reading (at the start of the record) is the base; each later one adds what the
// counters grew by. A counter that is lower than the last reading started again from zero (the
// interface was made anew), so all of it is new; nothing is ever taken away.

#include "platform/RemoteAccess.h"

#include <optional>

namespace xr {

class TrafficMeter {
public:
    // A reading of the counters; nothing when the back-end could not tell (the record then keeps
    // what it had).
    void read(const std::optional<platform::ByteCounts>& counters);
    // Bytes since the first reading; nothing while no reading has been taken.
    std::optional<platform::ByteCounts> moved() const;

private:
    std::optional<platform::ByteCounts> m_last;
    platform::ByteCounts m_moved;
};

} // namespace xr
