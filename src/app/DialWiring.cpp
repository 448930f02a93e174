#include "app/DialWiring.h"

#include "app/utTray.h"
#include "browser/utMain.h"
#include "connections/ConnSettingCommand.h"
#include "connections/ConnectCommand.h"
#include "connections/Dialer.h"
#include "users/utLogin.h"

#include <QAction>

namespace xr {

void connectDialing(AppContext& context, TwinTray& winTray, TwinMain& winMain, TwinLogin& winLogin,
                    Dialer& dialer, ConnSettingCommand& connSetting)
{
    QObject::connect(&winMain, &TwinMain::dialRequested, &dialer, [&context, &winTray, &dialer] {
        actConnectExecute(winTray.RASNotify(), dialer, context.prompter);
    });
    QObject::connect(&winMain, &TwinMain::connectionSettingsRequested, &dialer,
                     [&connSetting, &winMain] { connSetting.actConnSettingExecute(winMain); });
    QObject::connect(winTray.trayMenu().pmiDial(), &QAction::triggered, &dialer, &Dialer::DialDefaultConn);
    QObject::connect(&winLogin, &TwinLogin::dialWanted, &dialer, &Dialer::DialEntry);
}

} // namespace xr
