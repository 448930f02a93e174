#pragma once
// What the program takes from the operating system, made once by createPlatformServices().
// Each platform's build supplies the implementation (CMake picks its source file), so the
// program's logic never asks which platform it runs on.

#include "platform/AutoStart.h"
#include "platform/DesktopShell.h"
#include "platform/FileOpener.h"
#include "platform/RemoteAccess.h"
#include "platform/SessionEndSignals.h"
#include "platform/SingleInstance.h"
#include "platform/Sound.h"

#include <memory>
#include <string>

namespace xr::platform {

class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    virtual Sound& sound() = 0;
    virtual DesktopShell& shell() = 0;
    virtual FileOpener& fileOpener() = 0;
    // The start-with-the-desktop entry.
    virtual AutoStart& autoStart() = 0;
    // Tries to take the guard against a second copy named `name`; held while the guard lives.
    virtual std::unique_ptr<SingleInstance> takeSingleInstance(const std::string& name) = 0;
    // The session's end as the system announces it, from now on. Needs the application object.
    virtual std::unique_ptr<SessionEndSignals> watchSessionEnd() = 0;
    // The dial-up back-end, chosen once, for the program folder (UTF-8).
    virtual std::unique_ptr<RemoteAccess> createRemoteAccess(const std::string& programFolder) = 0;
};

// This build's platform. Making it needs no application object, so it can come before the
// single-instance guard.
std::unique_ptr<PlatformServices> createPlatformServices();

} // namespace xr::platform
