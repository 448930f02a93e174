#pragma once
// The desktop's default handlers as the freedesktop.org rules record them: the opener tool
// (xdg-open, or gio where it is missing) and the applications associated with a file's type or
// a link's scheme. The associations are read from the files themselves, so asking never runs a
// program and never waits.

#include <QString>

namespace xr::platform {

// Whether the desktop's opener is installed.
bool defaultOpenerInstalled();
// Hands `target` (a file or an address) to the desktop's opener without waiting for it.
void openWithDefaultHandler(const QString& target);
// Whether an installed application is associated with the type of the file `target` or, for a
// link such as "mailto:...", with its scheme.
bool hasAssociatedApplication(const QString& target);

} // namespace xr::platform
