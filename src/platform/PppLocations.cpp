#include "platform/PppLocations.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace xr::platform {

namespace {

std::string variableOr(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

std::string pppdOnPath()
{
    std::istringstream path(variableOr("PATH", ""));
    for (std::string folder; std::getline(path, folder, ':');) {
        const std::string candidate =
            (std::filesystem::path(folder.empty() ? "." : folder) / "pppd").string();
        // Existence decides, not the right to run it: a refusal is reported when dialling.
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate;
    }
    return "/usr/sbin/pppd";
}

std::string runFolder()
{
    std::error_code error;
    return std::filesystem::is_directory("/run", error) ? "/run" : "/var/run";
}

} // namespace

PppLocations PppLocations::fromEnvironment()
{
    return {variableOr("XARVANE_PPP_PEERS", "/etc/ppp/peers"), variableOr("XARVANE_PPP_SECRETS", "/etc/ppp"),
            pidFolders(variableOr("XARVANE_PPP_RUN", runFolder())), variableOr("XARVANE_PPPD", pppdOnPath())};
}

std::vector<std::string> PppLocations::pidFolders(const std::string& runFolder)
{
    const std::filesystem::path run(runFolder);
    return {runFolder, (run / "pppd").string(), (run / "ppp").string()};
}

} // namespace xr::platform
