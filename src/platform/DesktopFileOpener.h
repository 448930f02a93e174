#pragma once
// Opening files on a Linux desktop: an executable file is started directly, a desktop entry
// (".desktop") is launched as the desktop launches it, and anything else is handed to the
// desktop's default handler (xdg-open, or gio where xdg-open is missing).

#include "platform/FileOpener.h"

namespace xr::platform {

class DesktopFileOpener final : public FileOpener {
public:
    void open(const std::string& path) override;
};

} // namespace xr::platform
