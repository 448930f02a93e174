#pragma once
// The name of the desktop session that the single-instance guard is kept per: the login
// session when it is known, else the display server, spelled one way however the display
// variable names it.

#include <string>

namespace xr::platform {

// From the values of XDG_SESSION_ID, WAYLAND_DISPLAY and DISPLAY (null or empty when unset).
// An X display is reduced to its host and display number: ":0", ":0.0" and "unix:0" are one
// session.
std::string sessionTag(const char* xdgSessionId, const char* waylandDisplay, const char* display);

} // namespace xr::platform
