#pragma once
// Finds an account's secret in pppd's secrets files (chap-secrets, pap-secrets): one entry a
// line, "client server secret [addresses...]", with quotes and comments as in options files.

#include <optional>
#include <string>
#include <string_view>

namespace xr::platform {

// The secret of `user` towards `remoteName`: a line naming that server wins over a line for
// any server ("*"); with no remote name known, the first line of the user serves.
std::optional<std::string> findPppSecret(std::string_view secretsText, const std::string& user,
                                         const std::string& remoteName);

} // namespace xr::platform
