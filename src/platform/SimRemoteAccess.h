#pragma once
// The simulated dial-up service: a phonebook and active connections kept in a state file that
// several processes share (see SimStateFile), dials that run on threads of their own
// (see SimDial), and error texts for every code the service produces. xarvane-sim drives the
// same file from outside: it edits the phonebook and makes or ends connections.

#include "platform/RemoteAccess.h"
#include "platform/SimDial.h"
#include "platform/SimStateFile.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace xr::platform {

// The simulated service's state file: XARVANE_SIM_STATE when set, else SimRas.json in the
// program folder.
std::string simStatePath(const std::string& programFolder);

class SimRemoteAccess final : public RemoteAccess {
public:
    explicit SimRemoteAccess(std::string statePath);
    // Stops and joins the dials in progress; they are abandoned and notify nothing more.
    ~SimRemoteAccess() override;
    SimRemoteAccess(const SimRemoteAccess&) = delete;
    SimRemoteAccess& operator=(const SimRemoteAccess&) = delete;

    const std::string& statePath() const { return m_file.path(); }

    std::string name() const override { return "simulated"; }

    std::uint32_t enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                  std::size_t& needed) override;
    std::uint32_t getConnectStatus(ConnHandle handle, std::uint32_t& state) override;
    std::uint32_t enumEntries(std::size_t room, std::vector<std::string>& names) override;
    std::uint32_t getEntryDialParams(const std::string& entryName, RasDialParams& params) override;
    // The dial's notifications come from the dial's own thread; a hang-up from any process
    // ends it with ErrorPortDisconnected.
    std::uint32_t dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle) override;
    std::uint32_t hangUp(ConnHandle handle) override;
    std::uint32_t getErrorString(std::uint32_t code, std::string& text) override;
    std::uint32_t getProjectionIp(ConnHandle handle, std::string& address) override;
    std::uint32_t getConnectionStatistics(ConnHandle handle, ByteCounts& counts) override;

private:
    // Runs `query` on the current state; a file that cannot be read answers ErrorCannotOpenPhonebook.
    std::uint32_t inspect(const std::function<std::uint32_t(const SimState&)>& query) const;
    // Runs `change` under the file's lock and writes the state when it answers Success.
    std::uint32_t modify(const std::function<std::uint32_t(SimState&)>& change);
    void startDial(ConnHandle handle, const SimEntry& entry, RasDialNotifier notifier);
    void wakeDial(ConnHandle handle);

    SimStateFile m_file;
    std::mutex m_dialsMutex;
    std::vector<std::unique_ptr<SimDial>> m_dials;
};

} // namespace xr::platform
