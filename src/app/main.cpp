// Program entry: the single-instance guard, the application object, the tray controller and
// the event loop. The command line is not read.
#include "common/AppContext.h"
#include "app/AppWindows.h"
#include "app/DialWiring.h"
#include "common/LoggingPrompter.h"
#include "common/MessageBoxPrompter.h"
#include "app/XarvaneApplication.h"
#include "app/utTray.h"
#include "browser/utMain.h"
#include "connections/ConnSettingCommand.h"
#include "connections/Dialer.h"
#include "connections/HangUp.h"
#include "connections/utDialStatus.h"
#include "platform/RegistryFile.h"
#include "platform/RemoteAccessFactory.h"
#include "platform/SessionEndSignals.h"
#include "platform/SingleInstance.h"
#include "users/LoginMode.h"
#include "users/utLogin.h"

#include <QDir>

#include <memory>

namespace {

const QString kTitle = QStringLiteral("XarvaneXR");

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
    QApplication::setApplicationDisplayName(kTitle);
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
}

} // namespace

int main(int argc, char** argv)
{
    const xr::platform::SingleInstance guard("PyXarvane");
    const std::unique_ptr<xr::Prompter> prompter = makePrompter();
    if (guard.heldByAnother())
        return refuseSecondCopy(argc, argv, *prompter);

    xr::XarvaneApplication app(argc, argv, *prompter);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationDisplayName(kTitle);

    const QString appPath = programFolder();
    const std::unique_ptr<xr::platform::RemoteAccess> remoteAccess =
        xr::platform::createRemoteAccess(appPath.toStdString());
    xr::platform::RegistryFile registry(xr::platform::defaultRegistryPath(appPath));
    xr::SystemClock clock;
    xr::AppContext context(appPath, clock, *prompter, *remoteAccess, registry);

    // The start-up windows, in order; each is registered once it exists.
    xr::AppWindows windows;
    xr::TwinTray winTray(context, windows);
    if (winTray.databaseFailed())
        return 1;
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

    // Session end: the system's query first, then the end itself.
    xr::platform::SessionEndSignals sessionEnd;
    QObject::connect(&sessionEnd, &xr::platform::SessionEndSignals::sessionEnding, &winTray, [&winTray] {
        winTray.queryEndSession();
        winTray.WMEndSession();
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &winTray,
                     [&winTray] { winTray.queryEndSession(); });
    return QApplication::exec();
}
