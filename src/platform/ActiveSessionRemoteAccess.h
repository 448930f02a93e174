#pragma once
// A dial-up back-end seen from a desktop session that may be behind another (fast user
// switching): while the session is not in front, no connection is listed, so the copy of the
// program in it ends its records and the copy in front records the connection instead.
// Everything else goes to the back-end unchanged.

#include "platform/RemoteAccess.h"

#include <functional>
#include <memory>

namespace xr::platform {

class ActiveSessionRemoteAccess : public RemoteAccess {
public:
    ActiveSessionRemoteAccess(std::unique_ptr<RemoteAccess> service, std::function<bool()> sessionActive);

    std::string name() const override { return m_service->name(); }
    std::uint32_t enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                  std::size_t& needed) override;
    std::uint32_t getConnectStatus(ConnHandle handle, std::uint32_t& state) override;
    std::uint32_t enumEntries(std::size_t room, std::vector<std::string>& names) override
    {
        return m_service->enumEntries(room, names);
    }
    std::uint32_t getEntryDialParams(const std::string& entryName, RasDialParams& params) override
    {
        return m_service->getEntryDialParams(entryName, params);
    }
    std::uint32_t dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle) override
    {
        return m_service->dial(params, std::move(notifier), handle);
    }
    std::uint32_t hangUp(ConnHandle handle) override { return m_service->hangUp(handle); }
    std::uint32_t getErrorString(std::uint32_t code, std::string& text) override
    {
        return m_service->getErrorString(code, text);
    }
    std::uint32_t getProjectionIp(ConnHandle handle, std::string& address) override
    {
        return m_service->getProjectionIp(handle, address);
    }
    std::uint32_t getConnectionStatistics(ConnHandle handle, ByteCounts& counts) override
    {
        return m_service->getConnectionStatistics(handle, counts);
    }
    void setRecordLan(bool recordLan) override { m_service->setRecordLan(recordLan); }
    std::size_t uncountedLanEntries() override { return m_service->uncountedLanEntries(); }

private:
    std::unique_ptr<RemoteAccess> m_service;
    std::function<bool()> m_sessionActive;
};

} // namespace xr::platform
