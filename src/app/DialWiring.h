#pragma once
// Where dials start: the main window's connect command and its connection settings, the tray
// menu's "拨号连接(&C)" and the sign-in's automatic dial all reach the one dialer.

namespace xr {

struct AppContext;
class ConnSettingCommand;
class Dialer;
class TwinLogin;
class TwinMain;
class TwinTray;

void connectDialing(AppContext& context, TwinTray& winTray, TwinMain& winMain, TwinLogin& winLogin,
                    Dialer& dialer, ConnSettingCommand& connSetting);

} // namespace xr
