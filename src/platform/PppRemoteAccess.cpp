#include "platform/PppRemoteAccess.h"

#include "platform/PppErrors.h"

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace xr::platform {

namespace {

// Handles of dials whose pppd never started lie above every process id (at most 2^22).
constexpr ConnHandle FirstSpareHandle = 0x80000000u;

} // namespace

PppRemoteAccess::PppRemoteAccess(PppLocations locations, InterfaceLookup lookup)
    : m_peers(std::move(locations)), m_lookup(std::move(lookup)), m_nextSpareHandle(FirstSpareHandle)
{
}

PppRemoteAccess::~PppRemoteAccess()
{
    // Joined outside the lock: a notifier that is running may still call hangUp.
    std::vector<std::unique_ptr<PppDial>> dials;
    {
        std::lock_guard lock(m_dialsMutex);
        dials.swap(m_dials);
    }
    dials.clear();
}

bool PppRemoteAccess::alive(const PppLink& link) const
{
    return processAlive(link.pid) && runsPppd(link.pid, m_peers.locations().pppd);
}

std::optional<PppLink> PppRemoteAccess::liveLink(ConnHandle handle) const
{
    for (PppLink& link : readPppLinks(m_peers.locations().run))
        if (static_cast<ConnHandle>(link.pid) == handle)
            return alive(link) ? std::optional<PppLink>(std::move(link)) : std::nullopt;
    return std::nullopt;
}

std::uint32_t PppRemoteAccess::linkState(const PppLink& link) const
{
    const InterfaceState interface = link.interface.empty() ? InterfaceState() : m_lookup(link.interface);
    if (interface.exists && interface.up && !interface.ipv4.empty())
        return ras::StateConnected;
    return interface.exists ? ras::StateAuthenticate : ras::StateConnectDevice;
}

std::uint32_t PppRemoteAccess::pidFileState(int pid) const
{
    const std::optional<PppLink> link = liveLink(static_cast<ConnHandle>(pid));
    return link ? linkState(*link) : ras::ErrorInvalidHandle;
}

RasConnection PppRemoteAccess::connectionOf(const PppLink& link) const
{
    std::string name = link.linkName;
    if (name.empty())
        name = calledPeer(link.pid);
    if (name.empty())
        name = link.interface;
    const std::string deviceType = m_peers.deviceType(name);
    return {static_cast<ConnHandle>(link.pid), name, deviceType, link.interface};
}

std::uint32_t PppRemoteAccess::enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                               std::size_t& needed)
{
    connections.clear();
    for (const PppLink& link : readPppLinks(m_peers.locations().run)) {
        if (link.interface.empty() || !alive(link))
            continue;
        const InterfaceState interface = m_lookup(link.interface);
        if (interface.exists && interface.up)
            connections.push_back(connectionOf(link));
    }
    needed = connections.size();
    if (needed <= room)
        return ras::Success;
    connections.clear();
    return ras::ErrorBufferTooSmall;
}

std::uint32_t PppRemoteAccess::getConnectStatus(ConnHandle handle, std::uint32_t& state)
{
    const std::uint32_t seen = pidFileState(static_cast<int>(handle));
    if (seen != ras::ErrorInvalidHandle) {
        state = seen;
        return ras::Success;
    }
    std::lock_guard lock(m_dialsMutex);
    if (!runningDial(handle))
        return ras::ErrorInvalidHandle;
    state = ras::StateConnectDevice; // pppd runs its connect script; no pid file yet
    return ras::Success;
}

std::uint32_t PppRemoteAccess::enumEntries(std::size_t room, std::vector<std::string>& names)
{
    const std::uint32_t result = m_peers.peerNames(names);
    if (result != ras::Success || names.size() <= room)
        return result;
    names.clear();
    return ras::ErrorBufferTooSmall;
}

std::uint32_t PppRemoteAccess::getEntryDialParams(const std::string& entryName, RasDialParams& params)
{
    return m_peers.dialParams(entryName, params);
}

bool PppRemoteAccess::linkUp(const std::string& peer) const
{
    const std::vector<PppLink> links = readPppLinks(m_peers.locations().run);
    return std::any_of(links.begin(), links.end(), [&](const PppLink& link) {
        return alive(link) && connectionOf(link).entryName == peer;
    });
}

std::uint32_t PppRemoteAccess::dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle)
{
    handle = 0;
    if (!notifier)
        return ras::ErrorInvalidParameter; // pppd is only dialled asynchronously
    std::string options;
    if (const std::uint32_t result = m_peers.readPeer(params.entryName, options); result != ras::Success)
        return result;
    if (linkUp(params.entryName))
        return ras::ErrorPortAlreadyOpen;

    std::lock_guard lock(m_dialsMutex);
    // Dials that have ended are joined here, so the list holds at most the ones still watching.
    std::erase_if(m_dials, [](const std::unique_ptr<PppDial>& d) { return d->finished(); });
    auto probe = [this](int pid) { return pidFileState(pid); };
    m_dials.push_back(std::make_unique<PppDial>(m_peers.locations().pppd, params.entryName, m_nextSpareHandle,
                                                probe, std::move(notifier)));
    handle = m_dials.back()->handle();
    if (handle == m_nextSpareHandle)
        ++m_nextSpareHandle;
    return ras::Success;
}

PppDial* PppRemoteAccess::runningDial(ConnHandle handle)
{
    for (const auto& dial : m_dials)
        if (dial->handle() == handle && !dial->finished())
            return dial.get();
    return nullptr;
}

std::uint32_t PppRemoteAccess::hangUp(ConnHandle handle)
{
    {
        std::lock_guard lock(m_dialsMutex);
        if (PppDial* dial = runningDial(handle); dial && dial->hangUp())
            return ras::Success;
    }
    // A link started outside the program; only a link that is there, so that a stale pid
    // file never makes the program signal whatever process now has its number.
    const std::optional<PppLink> link = liveLink(handle);
    if (!link || link->interface.empty() || !m_lookup(link->interface).exists)
        return ras::ErrorInvalidHandle;
    if (::kill(link->pid, SIGTERM) == 0)
        return ras::Success;
    return errno == EPERM ? ppp::ErrorHangUpNotPermitted : ras::ErrorInvalidHandle;
}

std::uint32_t PppRemoteAccess::getErrorString(std::uint32_t code, std::string& text)
{
    const std::optional<std::string> known = ppp::errorText(code);
    if (!known)
        return ras::ErrorInvalidParameter;
    text = *known;
    return ras::Success;
}

std::uint32_t PppRemoteAccess::getProjectionIp(ConnHandle handle, std::string& address)
{
    const std::optional<PppLink> link = liveLink(handle);
    if (!link)
        return ras::ErrorInvalidHandle;
    const InterfaceState interface = link->interface.empty() ? InterfaceState() : m_lookup(link->interface);
    if (interface.ipv4.empty())
        return ras::ErrorProjectionNotComplete;
    address = interface.ipv4;
    return ras::Success;
}

} // namespace xr::platform
