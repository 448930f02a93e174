#include "platform/SessionTag.h"

#include <algorithm>
#include <cctype>

namespace xr::platform {

namespace {

bool isSet(const char* value)
{
    return value && *value;
}

// "host:N.S" without its screen number; "unix" is the local host. A text that is not of that
// form stays as it is.
std::string xDisplayServer(const std::string& display)
{
    const std::size_t colon = display.rfind(':');
    if (colon == std::string::npos)
        return display;
    std::string host = display.substr(0, colon);
    const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
    if (number.empty() ||
        !std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c); }))
        return display;
    if (host == "unix")
        host.clear();
    return host + ':' + std::to_string(std::stoul(number));
}

} // namespace

std::string sessionTag(const char* xdgSessionId, const char* waylandDisplay, const char* display)
{
    if (isSet(xdgSessionId))
        return std::string("XDG_SESSION_ID=") + xdgSessionId;
    if (isSet(waylandDisplay))
        return std::string("WAYLAND_DISPLAY=") + waylandDisplay;
    if (isSet(display))
        return "DISPLAY=" + xDisplayServer(display);
    return "console";
}

} // namespace xr::platform
