#pragma once
// The state of a network interface as the kernel reports it: whether it exists, whether it is
// up and its IPv4 address. Back-ends take the lookup as a function so that tests can answer it.

#include <functional>
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

} // namespace xr::platform
