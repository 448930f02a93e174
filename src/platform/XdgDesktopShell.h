#pragma once
// The desktop shell through the freedesktop.org tools (xdg-open, xdg-mime) that every Linux
// desktop provides, and programs found on PATH.

#include "platform/DesktopShell.h"

namespace xr::platform {

class XdgDesktopShell final : public DesktopShell {
public:
    bool hasHandlerFor(const std::string& file) override;
    void open(const std::string& target) override;
    bool startFirstInstalled(const std::vector<std::string>& programs) override;
};

} // namespace xr::platform
