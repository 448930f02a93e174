#include "platform/LinkInterface.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <fstream>
#include <sstream>

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

// Lines after the two headings are "  NAME: RX-BYTES PACKETS ERRS DROP FIFO FRAME COMPRESSED
// MULTICAST TX-BYTES ...".
std::optional<ByteCounts> countersInTable(const std::string& table, const std::string& name)
{
    std::ifstream file(table);
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::size_t first = line.find_first_not_of(' ');
        if (line.compare(first, colon - first, name) != 0 || colon - first != name.size())
            continue;
        std::istringstream fields(line.substr(colon + 1));
        ByteCounts counts;
        std::uint64_t skipped = 0;
        fields >> counts.received;
        for (int i = 0; i < 7; ++i)
            fields >> skipped;
        fields >> counts.sent;
        if (!fields)
            return std::nullopt;
        return counts;
    }
    return std::nullopt;
}

std::optional<ByteCounts> readInterfaceCounters(const std::string& name)
{
    return countersInTable("/proc/net/dev", name);
}

} // namespace xr::platform
