#pragma once
// The program-wide state: created by the program entry (tests create their own) and handed
// to every window and service through its constructor.

#include "common/Clock.h"
#include "common/CurrentConnection.h"
#include "common/Prompter.h"
#include "common/ServerLink.h"
#include "common/Settings.h"
#include "platform/Registry.h"
#include "platform/RemoteAccess.h"

#include <QString>

namespace xr {

struct AppContext {
    AppContext(QString appPath, Clock& clock, Prompter& prompter, platform::RemoteAccess& remoteAccess,
               platform::Registry& registry)
        : appPath(appPath), programFolder(std::move(appPath)), clock(clock), prompter(prompter),
          remoteAccess(remoteAccess), registry(registry)
    {
    }

    QString appPath;       // the data folder (database, settings, sounds), with a trailing separator
    QString programFolder; // the program file's folder: the same for a portable folder
    Clock& clock;
    Prompter& prompter;
    platform::RemoteAccess& remoteAccess;
    platform::Registry& registry;
    TSettings settings;
    TConnection currentConnection;
    ServerLink server; // the shared server of several PCs, when the settings name one
};

} // namespace xr
