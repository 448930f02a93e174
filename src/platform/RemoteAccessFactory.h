#pragma once
// The dial-up back-ends of Linux: chooses one once at start-up and names it on stderr.
// XARVANE_RAS names it (`nm` NetworkManager, `ppp` pppd peers, `sim` the simulated service); without it,
// NetworkManager when it answers on the system bus, else pppd when it has peer files, else the
// simulated service. An unknown value falls back to the simulated service with a message on
// stderr. Whichever it is lists connections only while this desktop session is the one in front.

#include "platform/RemoteAccess.h"

#include <memory>
#include <string>

namespace xr::platform {

std::unique_ptr<RemoteAccess> createRemoteAccess(const std::string& programFolder);

} // namespace xr::platform
