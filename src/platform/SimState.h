#pragma once
// The simulated dial-up service's whole state: its phonebook, the active connections (dialing
// or connected) and the counter that keeps connection handles unique across processes.

#include "platform/RemoteAccess.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xr::platform {

// A phonebook entry with its stored dial parameters and its scripted dial behaviour.
struct SimEntry {
    static constexpr std::uint32_t DefaultDialMs = 2000;

    std::string name;
    std::string userName;
    std::string password;
    std::string phoneNumber;
    std::uint32_t dialMs = DefaultDialMs; // time from the start of a dial to the connection
    std::uint32_t failCode = 0;           // non-zero: every dial fails with this code
    std::uint32_t failNextCode = 0;       // non-zero: the next dial fails with this code
};

// An active connection. `dialPid` names the process dialing it until it is connected.
struct SimConnection {
    ConnHandle handle = 0;
    std::string entryName;
    std::string deviceType;
    std::string deviceName;
    std::uint32_t state = ras::StateOpenPort;
    std::string ip;
    std::int64_t dialPid = 0;
    ByteCounts traffic; // what `xarvane-sim traffic` added up
};

class SimState {
public:
    static constexpr ConnHandle FirstHandle = 1;
    static constexpr const char* DeviceType = "modem";
    static constexpr const char* DeviceName = "Xarvane Simulated Modem";

    std::vector<SimEntry> entries;          // in phonebook order
    std::vector<SimConnection> connections; // in enumeration order
    ConnHandle nextHandle = FirstHandle;

    SimEntry* findEntry(const std::string& name);
    const SimEntry* findEntry(const std::string& name) const;
    SimConnection* findConnection(ConnHandle handle);
    const SimConnection* findConnection(ConnHandle handle) const;
    // True when the entry has a connection, dialing or connected.
    bool entryInUse(const std::string& name) const;

    // Adds a connection of `entryName` with a fresh handle; an empty `ip` gets an address
    // derived from the handle.
    SimConnection& addConnection(const std::string& entryName, std::uint32_t state, const std::string& ip,
                                 std::int64_t dialPid);
    bool removeConnection(ConnHandle handle);
    // Removes every connection of the entry; answers how many there were.
    std::size_t removeConnectionsOf(const std::string& entryName);
    // Drops dials whose dialing process has ended without finishing them.
    void dropAbandonedDials();

    // The address given to a connection whose address was not chosen: 10.x.y.z, unique per handle.
    static std::string addressFor(ConnHandle handle);

private:
    ConnHandle takeHandle();
};

} // namespace xr::platform
