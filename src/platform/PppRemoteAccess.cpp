#include "platform/PppRemoteAccess.h"

#include "platform/PppErrors.h"
#include "platform/RasErrorTexts.h"

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace xr::platform {

namespace {

// Handles of dials whose pppd never started lie above every process id (at most 2^22).
constexpr ConnHandle FirstSpareHandle = 0x80000000u;

} // namespace

PppRemoteAccess::PppRemoteAccess(PppLocations locations, InterfaceLookup lookup, CounterLookup counters)
    : m_peers(std::move(locations)), m_lookup(std::move(lookup)), m_counters(std::move(counters)),
      m_nextSpareHandle(FirstSpareHandle)
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

bool PppRemoteAccess::pppdAlive(int pid, std::vector<std::string>& arguments) const
{
    if (!processAlive(pid))
        return false;
    arguments = processArguments(pid);
    return runsPppd(arguments, m_peers.locations().pppd);
}

std::vector<PppRemoteAccess::LiveLink> PppRemoteAccess::liveLinks() const
{
    std::vector<LiveLink> live;
    for (PppLink& link : readPppLinks(m_peers.locations().runFolders))
        if (std::vector<std::string> arguments; pppdAlive(link.pid, arguments))
            live.push_back({std::move(link), calledPeer(arguments)});
    // This program's own dials are named by their dial: their arguments may be hidden from
    // this user (/proc mounted with hidepid).
    std::lock_guard lock(m_dialsMutex);
    for (LiveLink& each : live)
        if (const PppDial* dial = runningDial(static_cast<ConnHandle>(each.link.pid)))
            each.peer = dial->peer();
    return live;
}

std::optional<PppLink> PppRemoteAccess::liveLink(ConnHandle handle) const
{
    std::vector<std::string> arguments;
    for (PppLink& link : readPppLinks(m_peers.locations().runFolders))
        if (static_cast<ConnHandle>(link.pid) == handle)
            return pppdAlive(link.pid, arguments) ? std::optional<PppLink>(std::move(link)) : std::nullopt;
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

RasConnection PppRemoteAccess::connectionOf(const LiveLink& live) const
{
    const PppLink& link = live.link;
    // The peer's name, which is the phonebook entry's; a link name set in the peer's file
    // may differ from it.
    const std::string name = !live.peer.empty()       ? live.peer
                             : !link.linkName.empty() ? link.linkName
                                                      : link.interface;
    return {static_cast<ConnHandle>(link.pid), name, m_peers.deviceType(name), link.interface};
}

std::uint32_t PppRemoteAccess::enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                               std::size_t& needed)
{
    connections.clear();
    for (const LiveLink& live : liveLinks()) {
        if (live.link.interface.empty())
            continue;
        const InterfaceState interface = m_lookup(live.link.interface);
        if (interface.exists && interface.up)
            connections.push_back(connectionOf(live));
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

bool PppRemoteAccess::peerLinked(const std::string& peer) const
{
    const std::vector<LiveLink> links = liveLinks();
    return std::any_of(links.begin(), links.end(),
                       [&](const LiveLink& live) { return connectionOf(live).entryName == peer; });
}

std::uint32_t PppRemoteAccess::dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle)
{
    handle = 0;
    if (!notifier)
        return ras::ErrorInvalidParameter; // pppd is only dialled asynchronously
    std::string options;
    if (const std::uint32_t result = m_peers.readPeer(params.entryName, options); result != ras::Success)
        return result;
    if (peerLinked(params.entryName))
        return ras::ErrorPortAlreadyOpen;

    std::lock_guard lock(m_dialsMutex);
    // Dials that have ended are joined here, so the list holds at most the ones still watching.
    std::erase_if(m_dials, [](const std::unique_ptr<PppDial>& d) { return d->finished(); });
    // A dial of the peer whose pppd has not written its pid files yet.
    if (std::any_of(m_dials.begin(), m_dials.end(), [&](const std::unique_ptr<PppDial>& d) {
            return d->peer() == params.entryName && d->pppdRunning();
        }))
        return ras::ErrorPortAlreadyOpen;
    auto probe = [this](int pid) { return pidFileState(pid); };
    m_dials.push_back(std::make_unique<PppDial>(m_peers.locations().pppd, params.entryName, m_nextSpareHandle,
                                                probe, std::move(notifier)));
    handle = m_dials.back()->handle();
    if (handle == m_nextSpareHandle)
        ++m_nextSpareHandle;
    return ras::Success;
}

PppDial* PppRemoteAccess::runningDial(ConnHandle handle) const
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
    if (const std::optional<std::string> own = ppp::errorText(code)) {
        text = *own;
        return ras::Success;
    }
    return rasErrorText(code, text) ? ras::Success : ras::ErrorInvalidParameter;
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

std::uint32_t PppRemoteAccess::getConnectionStatistics(ConnHandle handle, ByteCounts& counts)
{
    const std::optional<PppLink> link = liveLink(handle);
    if (!link)
        return ras::ErrorInvalidHandle;
    const std::optional<ByteCounts> read = link->interface.empty() ? std::nullopt : m_counters(link->interface);
    if (!read)
        return ras::ErrorProjectionNotComplete;
    counts = *read;
    return ras::Success;
}

} // namespace xr::platform
