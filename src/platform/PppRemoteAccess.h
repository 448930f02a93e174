#pragma once
// The dial-up service of pppd: the phonebook is the peers folder, the connections are the links
// pppd's pid files name while their process lives and their interface is up, each named after
// the peer of its `call`; a dial runs `pppd call NAME` (see PppDial) and a hang-up sends pppd
// SIGTERM. Result codes are the
// service's where they fit and the back-end's own (PppErrors) for pppd's exit statuses.

#include "platform/LinkInterface.h"
#include "platform/PppDial.h"
#include "platform/PppLinks.h"
#include "platform/PppPeerFolder.h"
#include "platform/RemoteAccess.h"

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace xr::platform {

class PppRemoteAccess final : public RemoteAccess {
public:
    explicit PppRemoteAccess(PppLocations locations, InterfaceLookup lookup = lookUpInterface,
                             CounterLookup counters = readInterfaceCounters);
    // Stops watching the dials in progress; their pppd processes go on.
    ~PppRemoteAccess() override;

    std::string name() const override { return "pppd"; }
    PppRemoteAccess(const PppRemoteAccess&) = delete;
    PppRemoteAccess& operator=(const PppRemoteAccess&) = delete;

    std::uint32_t enumConnections(std::size_t room, std::vector<RasConnection>& connections,
                                  std::size_t& needed) override;
    std::uint32_t getConnectStatus(ConnHandle handle, std::uint32_t& state) override;
    std::uint32_t enumEntries(std::size_t room, std::vector<std::string>& names) override;
    std::uint32_t getEntryDialParams(const std::string& entryName, RasDialParams& params) override;
    std::uint32_t dial(const RasDialParams& params, RasDialNotifier notifier, ConnHandle& handle) override;
    std::uint32_t hangUp(ConnHandle handle) override;
    std::uint32_t getErrorString(std::uint32_t code, std::string& text) override;
    std::uint32_t getProjectionIp(ConnHandle handle, std::string& address) override;
    // The counters of the link's interface (pppN).
    std::uint32_t getConnectionStatistics(ConnHandle handle, ByteCounts& counts) override;

private:
    // A link whose pppd still runs, with the peer it was started for: the peer of this
    // program's dial, else NAME of the `call NAME` pppd was started with (from any user's
    // `pon`, a boot script); empty when neither tells.
    struct LiveLink {
        PppLink link;
        std::string peer;
    };
    // The process still runs pppd; `arguments` gets the arguments it was started with.
    bool pppdAlive(int pid, std::vector<std::string>& arguments) const;
    // The live links the pid files name; each process's arguments are read once.
    std::vector<LiveLink> liveLinks() const;
    // The link of a live pppd process with this id, as its pid files show it.
    std::optional<PppLink> liveLink(ConnHandle handle) const;
    // The state the link's interface gives: connected with an address, else still negotiating.
    std::uint32_t linkState(const PppLink& link) const;
    // linkState of the live link, or ErrorInvalidHandle.
    std::uint32_t pidFileState(int pid) const;
    RasConnection connectionOf(const LiveLink& live) const;
    // A live pppd runs for the peer, whether its link is up yet or not.
    bool peerLinked(const std::string& peer) const;
    // A dial of this run that is still watching pppd; the caller holds m_dialsMutex.
    PppDial* runningDial(ConnHandle handle) const;

    PppPeerFolder m_peers;
    const InterfaceLookup m_lookup;
    const CounterLookup m_counters;
    mutable std::mutex m_dialsMutex;
    std::vector<std::unique_ptr<PppDial>> m_dials;
    ConnHandle m_nextSpareHandle;
};

} // namespace xr::platform
