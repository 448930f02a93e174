// Program entry: the platform, the single-instance guard, the application object, the program
// and the event loop. The command line is not read.
#include "app/ExitGuard.h"
#include "app/ProgramLook.h"
#include "app/TrayHostWatch.h"
#include "app/XarvaneApplication.h"
#include "app/XarvaneProgram.h"
#include "common/AppContext.h"
#include "common/LoggingPrompter.h"
#include "common/MessageBoxPrompter.h"
#include "platform/DataFolder.h"
#include "platform/PlatformServices.h"
#include "platform/RegistryFile.h"

#include <QDir>
#include <QSystemTrayIcon>

#include <memory>
#include <optional>

namespace {

// XARVANE_PROMPTS=log answers every message box on standard error, for unattended runs.
std::unique_ptr<xr::Prompter> makePrompter()
{
    if (qEnvironmentVariable("XARVANE_PROMPTS") == QStringLiteral("log"))
        return std::make_unique<xr::LoggingPrompter>();
    return std::make_unique<xr::MessageBoxPrompter>();
}

QString programFolder()
{
    QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

int refuseSecondCopy(int argc, char** argv, xr::Prompter& prompter)
{
    xr::XarvaneApplication app(argc, argv, prompter);
    xr::applyProgramLook(app);
    prompter.inform(QStringLiteral("已经有一个[Xarvane]在运行！\r\r             Pellory Xarvane"));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::unique_ptr<xr::platform::PlatformServices> platform = xr::platform::createPlatformServices();
    const std::unique_ptr<xr::platform::SingleInstance> guard = platform->takeSingleInstance("PyXarvane");
    const std::unique_ptr<xr::Prompter> prompter = makePrompter();
    if (guard->heldByAnother())
        return refuseSecondCopy(argc, argv, *prompter);

    xr::XarvaneApplication app(argc, argv, *prompter);
    xr::ExitGuard exitGuard(platform->watchSessionEnd());
    QApplication::setQuitOnLastWindowClosed(false);
    xr::applyProgramLook(app);

    const QString appPath = xr::platform::dataFolder(programFolder());
    if (const std::optional<QString> refusal = xr::platform::dataFolderRefusal(appPath)) {
        prompter->error(*refusal);
        return 1;
    }
    xr::platform::shareNewFilesWithFolderGroup(appPath);
    const std::unique_ptr<xr::platform::RemoteAccess> remoteAccess =
        platform->createRemoteAccess(appPath.toStdString());
    xr::platform::RegistryFile registry(xr::platform::defaultRegistryPath(appPath));
    xr::SystemClock clock;
    xr::AppContext context(appPath, clock, *prompter, *remoteAccess, registry);
    context.programFolder = programFolder();

    xr::XarvaneProgram program(context, *platform);
    if (program.session().databaseFailed())
        return 1;
    exitGuard.guard(program.session());
    program.createStartupWindows();

    // Without a notification area the floating display keeps the program within reach.
    xr::FloatingDisplay& floatingDisplay = program.notices().floatingDisplay();
    xr::TrayHostWatch trayHostWatch(context.prompter, &QSystemTrayIcon::isSystemTrayAvailable,
                                    [&floatingDisplay] {
                                        if (!floatingDisplay.exists())
                                            floatingDisplay.OpenFloatWin();
                                    });
    return exitGuard.exec();
}
