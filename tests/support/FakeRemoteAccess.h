#pragma once
// A scripted dial-up service for unit tests: the test sets the connections, their states and
// the result codes the operations answer with.

#include "platform/RemoteAccess.h"

#include <map>
#include <optional>

namespace xr::test {

class FakeRemoteAccess final : public platform::RemoteAccess {
public:
    struct Connection {
        platform::RasConnection info;
        std::uint32_t state = platform::ras::StateConnected;
        std::string ip;
        std::optional<platform::ByteCounts> counters; // the interface's; none: not supported
    };

    // Adds an active connection and returns its handle.
    platform::ConnHandle addConnection(const std::string& entry,
                                       std::uint32_t state = platform::ras::StateConnected,
                                       const std::string& ip = "10.0.0.1");
    void setState(platform::ConnHandle handle, std::uint32_t state);
    void setCounters(platform::ConnHandle handle, platform::ByteCounts counters);
    void removeConnection(platform::ConnHandle handle);

    std::string name() const override { return "fake"; }
    std::uint32_t enumConnections(std::size_t room, std::vector<platform::RasConnection>& connections,
                                  std::size_t& needed) override;
    std::uint32_t getConnectStatus(platform::ConnHandle handle, std::uint32_t& state) override;
    std::uint32_t enumEntries(std::size_t room, std::vector<std::string>& names) override;
    std::uint32_t getEntryDialParams(const std::string& entryName, platform::RasDialParams& params) override;
    std::uint32_t dial(const platform::RasDialParams& params, platform::RasDialNotifier notifier,
                       platform::ConnHandle& handle) override;
    std::uint32_t hangUp(platform::ConnHandle handle) override;
    std::uint32_t getErrorString(std::uint32_t code, std::string& text) override;
    std::uint32_t getProjectionIp(platform::ConnHandle handle, std::string& address) override;
    std::uint32_t getConnectionStatistics(platform::ConnHandle handle, platform::ByteCounts& counts) override;
    void setRecordLan(bool value) override { recordLan = value; }

    bool recordLan = false; // as the program last told it

    std::vector<Connection> connections;        // in enumeration order
    std::vector<platform::RasDialParams> phonebook;
    std::uint32_t enumConnectionsResult = 0;    // non-zero: enumeration fails with it
    std::map<platform::ConnHandle, std::uint32_t> statusResults; // per-handle failing status code
    std::uint32_t enumEntriesResult = 0;
    std::vector<platform::ConnHandle> hungUp;   // handles passed to hangUp
    int statusQueries = 0;
    int enumerations = 0;

private:
    const Connection* find(platform::ConnHandle handle) const;
    platform::ConnHandle m_nextHandle = 100;
};

} // namespace xr::test
