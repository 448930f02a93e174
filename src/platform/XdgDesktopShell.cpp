#include "platform/XdgDesktopShell.h"

#include "platform/DesktopHandlers.h"

#include <QProcess>
#include <QStandardPaths>

namespace xr::platform {

bool XdgDesktopShell::hasHandlerFor(const std::string& target)
{
    return defaultOpenerInstalled() && hasAssociatedApplication(QString::fromStdString(target));
}

void XdgDesktopShell::open(const std::string& target)
{
    openWithDefaultHandler(QString::fromStdString(target));
}

bool XdgDesktopShell::startFirstInstalled(const std::vector<std::string>& programs)
{
    for (const std::string& name : programs) {
        const QString path = QStandardPaths::findExecutable(QString::fromStdString(name));
        if (!path.isEmpty())
            return QProcess::startDetached(path, {});
    }
    return false;
}

} // namespace xr::platform
