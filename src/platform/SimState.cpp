#include "platform/SimState.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <limits>

namespace xr::platform {

namespace {

// A process that no longer exists; one we may not signal still exists.
bool processGone(std::int64_t pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

template <typename State> auto* findEntryIn(State& state, const std::string& name)
{
    auto it = std::find_if(state.entries.begin(), state.entries.end(),
                           [&name](const SimEntry& entry) { return entry.name == name; });
    return it == state.entries.end() ? nullptr : &*it;
}

template <typename State> auto* findConnectionIn(State& state, ConnHandle handle)
{
    auto it = std::find_if(state.connections.begin(), state.connections.end(),
                           [handle](const SimConnection& connection) { return connection.handle == handle; });
    return it == state.connections.end() ? nullptr : &*it;
}

} // namespace

SimEntry* SimState::findEntry(const std::string& name)
{
    return findEntryIn(*this, name);
}
const SimEntry* SimState::findEntry(const std::string& name) const
{
    return findEntryIn(*this, name);
}
SimConnection* SimState::findConnection(ConnHandle handle)
{
    return findConnectionIn(*this, handle);
}
const SimConnection* SimState::findConnection(ConnHandle handle) const
{
    return findConnectionIn(*this, handle);
}

bool SimState::entryInUse(const std::string& name) const
{
    return std::any_of(connections.begin(), connections.end(),
                       [&name](const SimConnection& connection) { return connection.entryName == name; });
}

ConnHandle SimState::takeHandle()
{
    // 0 means "no handle" to callers and all ones marks a vanished connection: never hand them out.
    if (nextHandle < FirstHandle || nextHandle == std::numeric_limits<ConnHandle>::max())
        nextHandle = FirstHandle;
    return nextHandle++;
}

SimConnection& SimState::addConnection(const std::string& entryName, std::uint32_t state,
                                       const std::string& ip, std::int64_t dialPid)
{
    SimConnection connection;
    connection.handle = takeHandle();
    connection.entryName = entryName;
    connection.deviceType = DeviceType;
    connection.deviceName = DeviceName;
    connection.state = state;
    connection.ip = ip.empty() ? addressFor(connection.handle) : ip;
    connection.dialPid = dialPid;
    connections.push_back(connection);
    return connections.back();
}

bool SimState::removeConnection(ConnHandle handle)
{
    return std::erase_if(connections, [handle](const SimConnection& c) { return c.handle == handle; }) > 0;
}

std::size_t SimState::removeConnectionsOf(const std::string& entryName)
{
    return std::erase_if(connections,
                         [&entryName](const SimConnection& c) { return c.entryName == entryName; });
}

void SimState::dropAbandonedDials()
{
    std::erase_if(connections, [](const SimConnection& c) {
        return c.state != ras::StateConnected && c.dialPid > 0 && processGone(c.dialPid);
    });
}

std::string SimState::addressFor(ConnHandle handle)
{
    // Last byte 1..254; the handle's remaining digits fill the two middle bytes.
    const std::uint32_t rest = handle / 254;
    return "10." + std::to_string((rest / 256) % 256) + "." + std::to_string(rest % 256) + "." +
           std::to_string(handle % 254 + 1);
}

} // namespace xr::platform
