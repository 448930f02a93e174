#pragma once
// The notification icon's picture, drawn from our vector artwork at every tray size.

#include <QIcon>

namespace xr {

QIcon trayIconImage();

} // namespace xr
