// Program entry: the single-instance guard, the application object, the tray controller and
// the event loop. The command line is not read.
#include "common/AppContext.h"
#include "app/AppWindows.h"
#include "app/DialWiring.h"
#include "app/ExitGuard.h"
#include "app/ProgramLook.h"
#include "app/TrayHostWatch.h"
#include "app/MainCommands.h"
#include "common/LoggingPrompter.h"
#include "common/MessageBoxPrompter.h"
#include "app/XarvaneApplication.h"
#include "app/utTray.h"
#include "browser/utMain.h"
#include "connections/ConnSettingCommand.h"
#include "connections/Dialer.h"
#include "connections/HangUp.h"
#include "connections/utDialStatus.h"
#include "notices/Notices.h"
#include "platform/CanberraSound.h"
#include "platform/XdgDesktopShell.h"
#include "platform/DesktopFileOpener.h"
#include "platform/RegistryFile.h"
#include "platform/RemoteAccessFactory.h"
#include "platform/SingleInstance.h"
#include "platform/XdgAutoStart.h"
#include "users/LoginMode.h"
#include "users/utLogin.h"

#include <QDir>
#include <QSystemTrayIcon>

#include <memory>

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

// What one window asks of another. Commands of features still to come stay unconnected.
void connectWindows(xr::AppContext& context, xr::TwinTray& winTray, xr::TwinLogin& winLogin,
                    xr::TwinMain& winMain, xr::AppWindows& windows)
{
    QObject::connect(&winLogin, &xr::TwinLogin::mainWindowWanted, &winTray, [&windows] { windows.showMainWindow(); });
    QObject::connect(&winMain, &xr::TwinMain::changeUserRequested, &winTray,
                     [&windows] { windows.showLogin(xr::kLoginModeChangeUser); });
    QObject::connect(&winMain, &xr::TwinMain::hangUpRequested, &winTray,
                     [&context, &winTray] { xr::actDisConnExecute(context, winTray.RASNotify()); });
    QObject::connect(&winMain, &xr::TwinMain::backupRequested, &winTray,
                     [&winTray] { winTray.backupRestore().actBackupExecute(); });
    QObject::connect(&winMain, &xr::TwinMain::restoreRequested, &winTray,
                     [&winTray] { winTray.backupRestore().actComebackExecute(); });
    // A restore closes the main window, with its list, before the database closes.
    QObject::connect(&winTray.backupRestore(), &xr::BackupRestore::databaseClosing, &winTray,
                     [&windows] { windows.closeMainWindowIfShowing(); });
}

} // namespace

int main(int argc, char** argv)
{
    const xr::platform::SingleInstance guard("PyXarvane");
    const std::unique_ptr<xr::Prompter> prompter = makePrompter();
    if (guard.heldByAnother())
        return refuseSecondCopy(argc, argv, *prompter);

    xr::XarvaneApplication app(argc, argv, *prompter);
    xr::ExitGuard exitGuard;
    QApplication::setQuitOnLastWindowClosed(false);
    xr::applyProgramLook(app);

    const QString appPath = programFolder();
    const std::unique_ptr<xr::platform::RemoteAccess> remoteAccess =
        xr::platform::createRemoteAccess(appPath.toStdString());
    xr::platform::RegistryFile registry(xr::platform::defaultRegistryPath(appPath));
    xr::SystemClock clock;
    xr::AppContext context(appPath, clock, *prompter, *remoteAccess, registry);

    // The start-up windows, in order; each is registered once it exists.
    xr::platform::CanberraSound sound;
    xr::platform::XdgDesktopShell shell;
    xr::Notices notices(context, sound, shell);
    xr::AppWindows windows;
    windows.setNotices(&notices);
    xr::TwinTray winTray(context, windows);
    if (winTray.databaseFailed())
        return 1;
    exitGuard.guard(winTray);
    xr::TwinLogin winLogin(context, winTray.adoConnMain(), winTray.recorder(), winTray.RASNotify());
    windows.setLogin(&winLogin);
    xr::TwinMain winMain(context, winTray.adoConnMain(), winTray.adocommSql(), winTray.RASNotify());
    windows.setMainWindow(&winMain);
    connectWindows(context, winTray, winLogin, winMain, windows);
    xr::Dialer dialer(context);
    xr::TwinDialStatus winDialStatus(dialer);
    windows.setDialStatus(&winDialStatus);
    xr::ConnSettingCommand connSetting(context, winTray.RASNotify(), dialer);
    xr::connectDialing(context, winTray, winMain, winLogin, dialer, connSetting);
    winTray.trayMenu().connectNotices(notices);
    notices.connectMainWindow(winMain);
    notices.connectLogin(winLogin);
    xr::platform::XdgAutoStart autoStart(xr::platform::defaultAutoStartFolder());
    xr::platform::DesktopFileOpener fileOpener;
    xr::connectMainCommands(context, winTray, winMain, autoStart, notices.floatingDisplay());
    xr::connectCompanionStarts(context, winLogin, fileOpener);

    // Without a notification area the floating display keeps the program within reach.
    xr::TrayHostWatch trayHostWatch(context.prompter, &QSystemTrayIcon::isSystemTrayAvailable, [&notices] {
        if (!notices.floatingDisplay().exists())
            notices.floatingDisplay().OpenFloatWin();
    });
    return exitGuard.exec();
}
