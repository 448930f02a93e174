#include "FakeRemoteAccess.h"

#include <algorithm>

namespace xr::test {

using namespace platform;

ConnHandle FakeRemoteAccess::addConnection(const std::string& entry, std::uint32_t state, const std::string& ip)
{
    Connection connection;
    connection.info = {m_nextHandle++, entry, "modem", "Fake Modem"};
    connection.state = state;
    connection.ip = ip;
    connections.push_back(connection);
    return connection.info.handle;
}

void FakeRemoteAccess::setState(ConnHandle handle, std::uint32_t state)
{
    for (auto& connection : connections)
        if (connection.info.handle == handle)
            connection.state = state;
}

void FakeRemoteAccess::setCounters(ConnHandle handle, platform::ByteCounts counters)
{
    for (auto& connection : connections)
        if (connection.info.handle == handle)
            connection.counters = counters;
}

std::uint32_t FakeRemoteAccess::getConnectionStatistics(ConnHandle handle, platform::ByteCounts& counts)
{
    const Connection* connection = find(handle);
    if (!connection)
        return ras::ErrorInvalidHandle;
    if (!connection->counters)
        return ras::ErrorNotSupported;
    counts = *connection->counters;
    return ras::Success;
}

void FakeRemoteAccess::removeConnection(ConnHandle handle)
{
    std::erase_if(connections, [handle](const Connection& c) { return c.info.handle == handle; });
}

const FakeRemoteAccess::Connection* FakeRemoteAccess::find(ConnHandle handle) const
{
    auto it = std::find_if(connections.begin(), connections.end(),
                           [handle](const Connection& c) { return c.info.handle == handle; });
    return it == connections.end() ? nullptr : &*it;
}

std::uint32_t FakeRemoteAccess::enumConnections(std::size_t room, std::vector<RasConnection>& out, std::size_t& needed)
{
    ++enumerations;
    out.clear();
    needed = connections.size();
    if (enumConnectionsResult != 0)
        return enumConnectionsResult;
    if (connections.size() > room)
        return ras::ErrorBufferTooSmall;
    for (const auto& connection : connections)
        out.push_back(connection.info);
    return ras::Success;
}

std::uint32_t FakeRemoteAccess::getConnectStatus(ConnHandle handle, std::uint32_t& state)
{
    ++statusQueries;
    if (auto it = statusResults.find(handle); it != statusResults.end())
        return it->second;
    const Connection* connection = find(handle);
    if (!connection)
        return ras::ErrorInvalidHandle;
    state = connection->state;
    return ras::Success;
}

std::uint32_t FakeRemoteAccess::enumEntries(std::size_t room, std::vector<std::string>& names)
{
    names.clear();
    if (enumEntriesResult != 0)
        return enumEntriesResult;
    if (phonebook.size() > room)
        return ras::ErrorBufferTooSmall;
    for (const auto& entry : phonebook)
        names.push_back(entry.entryName);
    return ras::Success;
}

std::uint32_t FakeRemoteAccess::getEntryDialParams(const std::string& entryName, RasDialParams& params)
{
    for (const auto& entry : phonebook)
        if (entry.entryName == entryName) {
            params = entry;
            return ras::Success;
        }
    return ras::ErrorCannotFindPhonebookEntry;
}

std::uint32_t FakeRemoteAccess::dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle)
{
    handle = addConnection(params.entryName, ras::StateConnected);
    notifier(ras::DialEventMessage, ras::StateConnected, 0);
    return ras::Success;
}

std::uint32_t FakeRemoteAccess::hangUp(ConnHandle handle)
{
    hungUp.push_back(handle);
    removeConnection(handle);
    return ras::Success;
}

std::uint32_t FakeRemoteAccess::getErrorString(std::uint32_t code, std::string& text)
{
    text = "error " + std::to_string(code);
    return ras::Success;
}

std::uint32_t FakeRemoteAccess::getProjectionIp(ConnHandle handle, std::string& address)
{
    const Connection* connection = find(handle);
    if (!connection)
        return ras::ErrorInvalidHandle;
    address = connection->ip;
    return ras::Success;
}

} // namespace xr::test
