#pragma once
// The dial-up service's text for one of its error codes.

#include "platform/RemoteAccess.h"

#include <QString>

#include <cstdint>

namespace xr {

// The service's text; when it has none, "得到RAS错误失败:ErrorID=" and the code in hexadecimal.
QString RasErrorText(platform::RemoteAccess& remoteAccess, std::uint32_t code);

} // namespace xr
