#pragma once
// Where pppd keeps what the program reads and runs: the peers folder, the secrets folder, the
// folders of its pid files and the pppd program. Each has its standard place and can be moved
// by an environment variable.

#include <string>
#include <vector>

namespace xr::platform {

struct PppLocations {
    std::string peers;   // XARVANE_PPP_PEERS, else /etc/ppp/peers
    std::string secrets; // XARVANE_PPP_SECRETS (chap-secrets, pap-secrets), else /etc/ppp
    // pidFolders of XARVANE_PPP_RUN, else of /run, else of /var/run.
    std::vector<std::string> runFolders;
    std::string pppd; // XARVANE_PPPD, else pppd on the PATH, else /usr/sbin/pppd

    static PppLocations fromEnvironment();
    // The folders under a run folder that pppd's pid files may be in: the run folder itself
    // (pppd 2.4), its pppd folder (pppd 2.5) and its ppp folder (some distributions).
    static std::vector<std::string> pidFolders(const std::string& runFolder);
};

} // namespace xr::platform
