#include "platform/XdgDesktopShell.h"

#include <QProcess>
#include <QStandardPaths>

namespace xr::platform {

namespace {

constexpr int kToolTimeoutMs = 5000;

// Runs a short xdg tool and returns its trimmed standard output; empty when it failed.
QString toolOutput(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(kToolTimeoutMs)) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

} // namespace

bool XdgDesktopShell::hasHandlerFor(const std::string& file)
{
    const QString mimeType =
        toolOutput(QStringLiteral("xdg-mime"),
                   {QStringLiteral("query"), QStringLiteral("filetype"), QString::fromStdString(file)});
    if (mimeType.isEmpty())
        return false;
    return !toolOutput(QStringLiteral("xdg-mime"),
                       {QStringLiteral("query"), QStringLiteral("default"), mimeType})
                .isEmpty();
}

void XdgDesktopShell::open(const std::string& target)
{
    QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(target)});
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
