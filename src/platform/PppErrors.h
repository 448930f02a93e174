#pragma once
// The pppd back-end's own result codes: pppd's exit statuses and the ways starting or ending
// pppd can be refused, each with a Chinese text for the dial status window.

#include <cstdint>
#include <optional>
#include <string>

namespace xr::platform::ppp {

// pppd's exit status N becomes the code ExitStatusBase + N.
constexpr std::uint32_t ExitStatusBase = 1100;
// pppd may not be run by this user (Debian: only members of the dip group may).
constexpr std::uint32_t ErrorNotPermitted = 1130;
// No pppd program where it is looked for.
constexpr std::uint32_t ErrorPppdMissing = 1131;
// pppd could not be started for another reason.
constexpr std::uint32_t ErrorPppdNotStarted = 1132;
// The link belongs to another user's pppd, which this user may not end.
constexpr std::uint32_t ErrorHangUpNotPermitted = 1133;

constexpr std::uint32_t exitStatusCode(int status)
{
    return ExitStatusBase + static_cast<std::uint32_t>(status);
}

// The code of a failure to start pppd with the errno `error`.
std::uint32_t startFailureCode(int error);

// The text of one of the codes above; none for any other code.
std::optional<std::string> errorText(std::uint32_t code);

} // namespace xr::platform::ppp
