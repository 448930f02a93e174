#include "platform/DesktopFileOpener.h"

#include "platform/DesktopEntry.h"
#include "platform/DesktopHandlers.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace xr::platform {

namespace {

void launchDesktopEntry(const QString& path)
{
    const DesktopLaunch launch = readDesktopEntry(path);
    if (!launch.url.isEmpty()) {
        openWithDefaultHandler(launch.url);
        return;
    }
    if (launch.command.isEmpty())
        return;
    QStringList command = launch.command;
    const QString terminal = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
    if (launch.inTerminal && !terminal.isEmpty())
        command = QStringList{terminal, QStringLiteral("-e")} + command;
    QProcess::startDetached(command.takeFirst(), command, launch.workingFolder);
}

} // namespace

void DesktopFileOpener::open(const std::string& path)
{
    const QFileInfo file(QString::fromStdString(path));
    // The absolute name: a bare name would otherwise be looked up on the search path.
    const QString absolute = file.absoluteFilePath();
    if (file.suffix() == QStringLiteral("desktop"))
        launchDesktopEntry(absolute);
    else if (file.isFile() && file.isExecutable())
        QProcess::startDetached(absolute, {});
    else
        openWithDefaultHandler(absolute);
}

} // namespace xr::platform
