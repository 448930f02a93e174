#pragma once
// Short questions to a dial-up back-end for tests: the active connections, and one
// connection's state or, when the back-end refuses, its result code.

#include "platform/RemoteAccess.h"

#include <gtest/gtest.h>

#include <vector>

namespace xr::test {

inline std::vector<platform::RasConnection> activeConnections(platform::RemoteAccess& service)
{
    std::vector<platform::RasConnection> list;
    std::size_t needed = 0;
    EXPECT_EQ(service.enumConnections(16, list, needed), platform::ras::Success);
    return list;
}

inline std::uint32_t stateOrResult(platform::RemoteAccess& service, platform::ConnHandle handle)
{
    std::uint32_t state = 0;
    const std::uint32_t result = service.getConnectStatus(handle, state);
    return result == platform::ras::Success ? state : result;
}

} // namespace xr::test
