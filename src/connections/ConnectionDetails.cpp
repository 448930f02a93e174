#include "connections/ConnectionDetails.h"

#include <algorithm>

namespace xr {

namespace {

// Room the queries give: one active connection, ten phonebook entries.
constexpr std::size_t kConnectionRoom = 1;
constexpr std::size_t kEntryRoom = 10;
// An address field holds at most this many characters before its terminating zero.
constexpr std::size_t kAddressLength = 15;

} // namespace

QString GetDynamicIP(platform::RemoteAccess& remoteAccess)
{
    std::vector<platform::RasConnection> connections;
    std::size_t needed = 0;
    if (remoteAccess.enumConnections(kConnectionRoom, connections, needed) != platform::ras::Success ||
        connections.empty())
        return {};
    std::string address;
    if (remoteAccess.getProjectionIp(connections.front().handle, address) != platform::ras::Success)
        return {};
    address = address.substr(0, std::min(address.find('\0'), kAddressLength));
    return QString::fromStdString(address);
}

bool EntryExists(platform::RemoteAccess& remoteAccess, Prompter& prompter, const QString& entryName)
{
    std::vector<std::string> names;
    if (remoteAccess.enumEntries(kEntryRoom, names) != platform::ras::Success) {
        prompter.warn(kPhonebookReadFailed);
        return false;
    }
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return QString::fromStdString(name) == entryName; });
}

} // namespace xr
