#include "store/ConnectionDetails.h"

#include <algorithm>
#include <limits>

namespace xr {

namespace {

// Room the address query gives: one active connection.
constexpr std::size_t kConnectionRoom = 1;
// The phonebook is read whole, however many entries it has.
constexpr std::size_t kEntryRoom = std::numeric_limits<std::size_t>::max();
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

std::optional<QStringList> PhonebookEntries(platform::RemoteAccess& remoteAccess)
{
    std::vector<std::string> names;
    if (remoteAccess.enumEntries(kEntryRoom, names) != platform::ras::Success)
        return std::nullopt;
    QStringList entries;
    for (const std::string& name : names)
        entries.append(QString::fromStdString(name));
    return entries;
}

bool EntryExists(platform::RemoteAccess& remoteAccess, Prompter& prompter, const QString& entryName)
{
    const std::optional<QStringList> entries = PhonebookEntries(remoteAccess);
    if (!entries) {
        prompter.warn(kPhonebookReadFailed);
        return false;
    }
    return entries->contains(entryName, Qt::CaseSensitive);
}

} // namespace xr
