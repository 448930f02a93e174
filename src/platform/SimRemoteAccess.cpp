#include "platform/SimRemoteAccess.h"

#include "platform/RasErrorTexts.h"

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace xr::platform {

std::string simStatePath(const std::string& programFolder)
{
    if (const char* path = std::getenv("XARVANE_SIM_STATE"); path && *path)
        return path;
    return (std::filesystem::path(programFolder) / "SimRas.json").string();
}

SimRemoteAccess::SimRemoteAccess(std::string statePath) : m_file(std::move(statePath)) {}

SimRemoteAccess::~SimRemoteAccess()
{
    // Joined outside the lock: a notifier that is running may still call hangUp.
    std::vector<std::unique_ptr<SimDial>> dials;
    {
        std::lock_guard lock(m_dialsMutex);
        dials.swap(m_dials);
    }
    dials.clear();
}

std::uint32_t SimRemoteAccess::inspect(const std::function<std::uint32_t(const SimState&)>& query) const
{
    SimState state;
    std::string error;
    return m_file.read(state, error) ? query(state) : ras::ErrorCannotOpenPhonebook;
}

std::uint32_t SimRemoteAccess::modify(const std::function<std::uint32_t(SimState&)>& change)
{
    std::uint32_t result = ras::Success;
    std::string error;
    if (!m_file.update(
            [&](SimState& state) {
                result = change(state);
                return result == ras::Success;
            },
            error))
        return ras::ErrorCannotOpenPhonebook;
    return result;
}

std::uint32_t SimRemoteAccess::enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                               std::size_t& needed)
{
    connections.clear();
    return inspect([&](const SimState& state) {
        needed = state.connections.size();
        if (needed > room)
            return ras::ErrorBufferTooSmall;
        for (const SimConnection& c : state.connections)
            connections.push_back({c.handle, c.entryName, c.deviceType, c.deviceName});
        return ras::Success;
    });
}

std::uint32_t SimRemoteAccess::getConnectStatus(ConnHandle handle, std::uint32_t& state)
{
    return inspect([&](const SimState& s) {
        const SimConnection* connection = s.findConnection(handle);
        if (!connection)
            return ras::ErrorInvalidHandle;
        state = connection->state;
        return ras::Success;
    });
}

std::uint32_t SimRemoteAccess::enumEntries(std::size_t room, std::vector<std::string>& names)
{
    names.clear();
    return inspect([&](const SimState& state) {
        if (state.entries.size() > room)
            return ras::ErrorBufferTooSmall;
        for (const SimEntry& entry : state.entries)
            names.push_back(entry.name);
        return ras::Success;
    });
}

std::uint32_t SimRemoteAccess::getEntryDialParams(const std::string& entryName, RasDialParams& params)
{
    return inspect([&](const SimState& state) {
        const SimEntry* entry = state.findEntry(entryName);
        if (!entry)
            return ras::ErrorCannotFindPhonebookEntry;
        params = RasDialParams{entry->name, entry->phoneNumber, {}, entry->userName, entry->password, {}};
        return ras::Success;
    });
}

std::uint32_t SimRemoteAccess::dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle)
{
    handle = 0;
    if (!notifier)
        return ras::ErrorInvalidParameter; // this service only dials asynchronously
    SimEntry entry;
    ConnHandle started = 0;
    const std::uint32_t result = modify([&](SimState& state) {
        SimEntry* found = state.findEntry(params.entryName);
        if (!found)
            return ras::ErrorCannotFindPhonebookEntry;
        if (state.entryInUse(found->name))
            return ras::ErrorPortAlreadyOpen;
        entry = *found;
        // A failure asked for the next dial is used up by this one.
        if (found->failNextCode != 0) {
            entry.failCode = found->failNextCode;
            found->failNextCode = 0;
        }
        started = state.addConnection(entry.name, ras::StateOpenPort, {}, ::getpid()).handle;
        return ras::Success;
    });
    if (result == ras::Success) {
        handle = started;
        startDial(started, entry, std::move(notifier));
    }
    return result;
}

void SimRemoteAccess::startDial(ConnHandle handle, const SimEntry& entry, RasDialNotifier notifier)
{
    std::lock_guard lock(m_dialsMutex);
    // Dials that have ended are joined here, so the list holds at most the ones still running.
    std::erase_if(m_dials, [](const std::unique_ptr<SimDial>& d) { return d->finished(); });
    m_dials.push_back(std::make_unique<SimDial>(m_file, handle, entry, std::move(notifier)));
}

std::uint32_t SimRemoteAccess::hangUp(ConnHandle handle)
{
    const std::uint32_t result = modify([handle](SimState& state) {
        return state.removeConnection(handle) ? ras::Success : ras::ErrorInvalidHandle;
    });
    wakeDial(handle);
    return result;
}

void SimRemoteAccess::wakeDial(ConnHandle handle)
{
    std::lock_guard lock(m_dialsMutex);
    for (const auto& dial : m_dials)
        if (dial->handle() == handle)
            dial->wake();
}

std::uint32_t SimRemoteAccess::getErrorString(std::uint32_t code, std::string& text)
{
    return rasErrorText(code, text) ? ras::Success : ras::ErrorInvalidParameter;
}

std::uint32_t SimRemoteAccess::getProjectionIp(ConnHandle handle, std::string& address)
{
    return inspect([&](const SimState& state) {
        const SimConnection* connection = state.findConnection(handle);
        if (!connection)
            return ras::ErrorInvalidHandle;
        if (connection->state != ras::StateConnected)
            return ras::ErrorProjectionNotComplete;
        address = connection->ip;
        return ras::Success;
    });
}

std::uint32_t SimRemoteAccess::getConnectionStatistics(ConnHandle handle, ByteCounts& counts)
{
    return inspect([&](const SimState& state) {
        const SimConnection* connection = state.findConnection(handle);
        if (!connection)
            return ras::ErrorInvalidHandle;
        counts = connection->traffic;
        return ras::Success;
    });
}

} // namespace xr::platform
