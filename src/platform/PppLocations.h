#pragma once
// Where pppd keeps what the program reads and runs: the peers folder, the secrets folder, the
// folder of its pid files and the pppd program. Each has its standard place and can be moved
// by an environment variable.

#include <string>

namespace xr::platform {

struct PppLocations {
    std::string peers;   // XARVANE_PPP_PEERS, else /etc/ppp/peers
    std::string secrets; // XARVANE_PPP_SECRETS (chap-secrets, pap-secrets), else /etc/ppp
    std::string run;     // XARVANE_PPP_RUN, else /run, else /var/run
    std::string pppd;    // XARVANE_PPPD, else pppd on the PATH, else /usr/sbin/pppd

    static PppLocations fromEnvironment();
};

} // namespace xr::platform
