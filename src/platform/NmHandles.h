#pragma once
// Handles for NetworkManager's active connections: each active connection keeps one handle for
// as long as it exists, and no handle is given out twice in a run. A dial's handle is taken
// before its active connection exists and bound to it once NetworkManager names it.

#include "platform/RemoteAccess.h"

#include <map>
#include <set>
#include <string>

namespace xr::platform {

class NmHandles {
public:
    // A handle that names nothing yet (a dial waiting for its active connection).
    ConnHandle reserve() { return m_next++; }
    // The handle of the active connection `key`, given out at its first sight.
    ConnHandle handleFor(const std::string& key);
    // Makes `handle` (reserved by a dial) name the active connection `key` too.
    void bind(ConnHandle handle, const std::string& key);
    // The active connection a handle names; empty for none.
    std::string keyOf(ConnHandle handle) const;
    // Forgets the handles of active connections that no longer exist.
    void keepOnly(const std::set<std::string>& liveKeys);

private:
    ConnHandle m_next = 1;
    std::map<std::string, ConnHandle> m_byKey;
    std::map<ConnHandle, std::string> m_keyOf;
};

} // namespace xr::platform
