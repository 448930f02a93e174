#pragma once
// The state of a network interface as the kernel reports it: whether it exists, whether it is
// up and its IPv4 address. Back-ends take the lookup as a function so that tests can answer it.

#include "platform/RemoteAccess.h"

#include <functional>
#include <optional>
#include <string>

namespace xr::platform {

struct InterfaceState {
    bool exists = false;
    bool up = false;
    std::string ipv4; // dotted text; empty when the interface has none
};

using InterfaceLookup = std::function<InterfaceState(const std::string& name)>;

// The kernel's answer (getifaddrs).
InterfaceState lookUpInterface(const std::string& name);

// The interface's byte counters; nothing when the kernel does not list it.
using CounterLookup = std::function<std::optional<ByteCounts>(const std::string& name)>;

// The counters of `name` from the file `table`, in the form of the kernel's /proc/net/dev.
std::optional<ByteCounts> countersInTable(const std::string& table, const std::string& name);
// The kernel's answer: one small read of /proc/net/dev.
std::optional<ByteCounts> readInterfaceCounters(const std::string& name);

} // namespace xr::platform
