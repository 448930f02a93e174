#include "platform/RemoteAccessFactory.h"

#include "platform/NmBus.h"
#include "platform/NmRemoteAccess.h"
#include "platform/SimRemoteAccess.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

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

} // namespace

std::string simStatePath(const std::string& programFolder)
{
    if (std::string path = environment("XARVANE_SIM_STATE"); !path.empty())
        return path;
    return (std::filesystem::path(programFolder) / "SimRas.json").string();
}

namespace {

std::unique_ptr<RemoteAccess> chooseRemoteAccess(const std::string& programFolder)
{
    const std::string choice = environment("XARVANE_RAS");
    if (std::unique_ptr<RemoteAccess> nm = nmWhenChosen(choice))
        return nm;
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
    return service;
}

} // namespace xr::platform
