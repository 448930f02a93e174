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

} // namespace

std::string simStatePath(const std::string& programFolder)
{
    if (std::string path = environment("XARVANE_SIM_STATE"); !path.empty())
        return path;
    return (std::filesystem::path(programFolder) / "SimRas.json").string();
}

std::unique_ptr<RemoteAccess> createRemoteAccess(const std::string& programFolder)
{
    const std::string choice = environment("XARVANE_RAS");
    std::unique_ptr<RemoteAccess> service;
    if (choice == "nm" || (choice.empty() && NmBus::serviceAnswers()))
        service = std::make_unique<NmRemoteAccess>();
    else if (!choice.empty() && choice != "sim")
        std::fprintf(stderr,
                     "xarvane: XARVANE_RAS=%s is not a dial-up back-end of this build; "
                     "using the simulated service (sim)\n",
                     choice.c_str());
    if (!service)
        service = std::make_unique<SimRemoteAccess>(simStatePath(programFolder));
    std::fprintf(stderr, "xarvane: dial-up back-end: %s\n", service->name().c_str());
    return service;
}

} // namespace xr::platform
