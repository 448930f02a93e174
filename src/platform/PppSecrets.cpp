#include "platform/PppSecrets.h"

#include "platform/PppOptionWords.h"

namespace xr::platform {

std::optional<std::string> findPppSecret(std::string_view secretsText, const std::string& user,
                                         const std::string& remoteName)
{
    std::optional<std::string> anyServer;
    for (const std::vector<std::string>& entry : optionLines(secretsText)) {
        if (entry.size() < 3 || entry[0] != user)
            continue;
        const std::string& server = entry[1];
        if (!remoteName.empty() && server == remoteName)
            return entry[2];
        if (!anyServer && (server == "*" || remoteName.empty()))
            anyServer = entry[2];
    }
    return anyServer;
}

} // namespace xr::platform
