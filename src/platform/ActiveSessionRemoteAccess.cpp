#include "platform/ActiveSessionRemoteAccess.h"

namespace xr::platform {

ActiveSessionRemoteAccess::ActiveSessionRemoteAccess(std::unique_ptr<RemoteAccess> service,
                                                     std::function<bool()> sessionActive)
    : m_service(std::move(service)), m_sessionActive(std::move(sessionActive))
{
}

std::uint32_t ActiveSessionRemoteAccess::enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                                         std::size_t& needed)
{
    if (m_sessionActive())
        return m_service->enumConnections(room, connections, needed);
    connections.clear();
    needed = 0;
    return ras::Success;
}

std::uint32_t ActiveSessionRemoteAccess::getConnectStatus(ConnHandle handle, std::uint32_t& state)
{
    if (m_sessionActive())
        return m_service->getConnectStatus(handle, state);
    return ras::ErrorInvalidHandle;
}

} // namespace xr::platform
