#pragma once
// The desktop shell of a Linux desktop: its opener and the associations it keeps (see
// DesktopHandlers), and programs found on PATH.

#include "platform/DesktopShell.h"

namespace xr::platform {

class XdgDesktopShell final : public DesktopShell {
public:
    bool hasHandlerFor(const std::string& target) override;
    void open(const std::string& target) override;
    bool startFirstInstalled(const std::vector<std::string>& programs) override;
};

} // namespace xr::platform
