// The platform services of a Linux desktop.
#include "platform/PlatformServices.h"

#include "platform/CanberraSound.h"
#include "platform/DesktopFileOpener.h"
#include "platform/LockFileInstance.h"
#include "platform/PosixSessionEndSignals.h"
#include "platform/RemoteAccessFactory.h"
#include "platform/XdgAutoStart.h"
#include "platform/XdgDesktopShell.h"

namespace xr::platform {

namespace {

class LinuxPlatform final : public PlatformServices {
public:
    Sound& sound() override { return m_sound; }
    DesktopShell& shell() override { return m_shell; }
    FileOpener& fileOpener() override { return m_fileOpener; }
    AutoStart& autoStart() override { return m_autoStart; }
    std::unique_ptr<SingleInstance> takeSingleInstance(const std::string& name) override
    {
        return std::make_unique<LockFileInstance>(name);
    }
    std::unique_ptr<SessionEndSignals> watchSessionEnd() override
    {
        return std::make_unique<PosixSessionEndSignals>();
    }
    std::unique_ptr<RemoteAccess> createRemoteAccess(const std::string& programFolder) override
    {
        return platform::createRemoteAccess(programFolder);
    }

private:
    CanberraSound m_sound;
    XdgDesktopShell m_shell;
    DesktopFileOpener m_fileOpener;
    XdgAutoStart m_autoStart{defaultAutoStartFolder()};
};

} // namespace

std::unique_ptr<PlatformServices> createPlatformServices()
{
    return std::make_unique<LinuxPlatform>();
}

} // namespace xr::platform
