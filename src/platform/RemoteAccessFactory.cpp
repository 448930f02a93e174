#include "platform/RemoteAccessFactory.h"

#include "platform/ActiveSessionRemoteAccess.h"
#include "platform/LoginSessionWatch.h"
#include "platform/NmBus.h"
#include "platform/NmRemoteAccess.h"
#include "platform/PppRemoteAccess.h"
#include "platform/SimRemoteAccess.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace xr::platform {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// NetworkManager when XARVANE_RAS names it, or, without a choice, when it answers on the system bus.
std::unique_ptr<RemoteAccess> nmWhenChosen(const std::string& choice)
{
    if (choice == "nm" || (choice.empty() && NmBus::serviceAnswers()))
        return std::make_unique<NmRemoteAccess>();
    return nullptr;
}

// The pppd back-end when XARVANE_RAS names it, or, without a choice, when pppd has peers (a
// peers folder this user may not read counts: pppd is set up, and dialling says what is wrong).
std::unique_ptr<RemoteAccess> pppWhenChosen(const std::string& choice)
{
    PppLocations locations = PppLocations::fromEnvironment();
    std::vector<std::string> peers;
    const bool hasPeers = PppPeerFolder(locations).peerNames(peers) != ras::Success || !peers.empty();
    if (choice == "ppp" || (choice.empty() && hasPeers))
        return std::make_unique<PppRemoteAccess>(std::move(locations));
    return nullptr;
}

std::unique_ptr<RemoteAccess> chooseRemoteAccess(const std::string& programFolder)
{
    const std::string choice = environment("XARVANE_RAS");
    if (std::unique_ptr<RemoteAccess> nm = nmWhenChosen(choice))
        return nm;
    if (std::unique_ptr<RemoteAccess> ppp = pppWhenChosen(choice))
        return ppp;
    if (!choice.empty() && choice != "sim")
        std::fprintf(stderr,
                     "xarvane: XARVANE_RAS=%s is not a dial-up back-end of this build; "
                     "using the simulated service (sim)\n",
                     choice.c_str());
    return std::make_unique<SimRemoteAccess>(simStatePath(programFolder));
}

} // namespace

std::unique_ptr<RemoteAccess> createRemoteAccess(const std::string& programFolder)
{
    std::unique_ptr<RemoteAccess> service = chooseRemoteAccess(programFolder);
    std::fprintf(stderr, "xarvane: dial-up back-end: %s\n", service->name().c_str());
    auto session = std::make_shared<LoginSessionWatch>(qEnvironmentVariable("XDG_SESSION_ID"));
    return std::make_unique<ActiveSessionRemoteAccess>(std::move(service), [session] { return session->active(); });
}

} // namespace xr::platform
