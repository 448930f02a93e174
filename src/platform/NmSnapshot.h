#pragma once
// What one ObjectManager answer of NetworkManager says about the active connections: every
// object with its properties arrives in a single round trip, asked again only when the service
// signals a change.

#include <QDBusMessage>

#include <cstdint>
#include <string>
#include <vector>

namespace xr::platform {

struct NmActiveConnection {
    std::string path; // the active connection's object
    // The profile's UUID and the interface: the same for the connection's whole life, also
    // across a restart of the service (which names its objects anew).
    std::string key;
    std::string id;          // the profile's name
    std::string profilePath; // the saved profile's object
    std::string profileType; // the profile's type as NetworkManager names it
    std::string type;        // the profile's type in plain words
    std::uint32_t state = 0; // NMActiveConnectionState
    std::string interfaceName;
    std::string ipAddress; // first IPv4 address, dotted
};

struct NmSnapshot {
    std::vector<NmActiveConnection> connections;
    // The service is still starting (it has not yet taken over the connections that are up).
    bool startingUp = false;
};

// The active connections a person chose (see nm::chosenConnection), in NetworkManager's order,
// from the answer to GetManagedObjects on /org/freedesktop. Connections that are ending are left
// out: the service keeps them listed for a while, but they are no longer connections.
NmSnapshot readSnapshot(const QDBusMessage& managedObjects);

} // namespace xr::platform
