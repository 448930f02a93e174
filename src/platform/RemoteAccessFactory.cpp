#include "platform/RemoteAccessFactory.h"

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
    if (!choice.empty() && choice != "sim")
        std::fprintf(stderr,
                     "xarvane: XARVANE_RAS=%s is not a dial-up back-end of this build; "
                     "using the simulated service (sim)\n",
                     choice.c_str());
    return std::make_unique<SimRemoteAccess>(simStatePath(programFolder));
}

} // namespace xr::platform
