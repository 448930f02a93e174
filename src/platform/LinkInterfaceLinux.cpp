#include "platform/LinkInterface.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace xr::platform {

InterfaceState lookUpInterface(const std::string& name)
{
    InterfaceState state;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return state;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_name || name != entry->ifa_name)
            continue;
        state.exists = true;
        state.up = state.up || (entry->ifa_flags & IFF_UP) != 0;
        if (state.ipv4.empty() && entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET) {
            char text[INET_ADDRSTRLEN] = {};
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text))
                state.ipv4 = text;
        }
    }
    freeifaddrs(list);
    return state;
}

} // namespace xr::platform
