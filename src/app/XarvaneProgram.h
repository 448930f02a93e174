#pragma once
// The program as its entry puts it together: the session with the tray controller, the
// notices, and the start-up windows with what each asks of the others. Every connection
// between windows and services is made here.

#include "app/AppWindows.h"
#include "app/XarvaneSession.h"
#include "notices/Notices.h"

#include <memory>

namespace xr {

class ConnSettingCommand;
class Dialer;
class TwinDialStatus;
class TwinLogin;
class TwinMain;
namespace platform {
class PlatformServices;
}

class XarvaneProgram {
public:
    // Makes the session, which runs the tray controller's start-up.
    XarvaneProgram(AppContext& context, platform::PlatformServices& platform);
    ~XarvaneProgram();
    XarvaneProgram(const XarvaneProgram&) = delete;
    XarvaneProgram& operator=(const XarvaneProgram&) = delete;

    XarvaneSession& session() { return m_session; }
    Notices& notices() { return m_notices; }

    // Once the session has its database: the other start-up windows, in order, each registered
    // once it exists, and their connections.
    void createStartupWindows();

    TwinLogin& winLogin() { return *m_winLogin; }
    TwinMain& winMain() { return *m_winMain; }
    TwinDialStatus& winDialStatus() { return *m_winDialStatus; }
    Dialer& dialer() { return *m_dialer; }
    ConnSettingCommand& connSetting() { return *m_connSetting; }

private:
    void connectWindows();
    void connectDialing();
    void connectMainCommands();
    void connectNotices();
    void connectAllowance();
    void openAllowances();
    void showTimeLeft();
    void openOptions();

    AppContext& m_context;
    platform::PlatformServices& m_platform;
    Notices m_notices;
    AppWindows m_windows;
    XarvaneSession m_session;
    std::unique_ptr<TwinLogin> m_winLogin;
    std::unique_ptr<TwinMain> m_winMain;
    std::unique_ptr<Dialer> m_dialer;
    std::unique_ptr<TwinDialStatus> m_winDialStatus;
    std::unique_ptr<ConnSettingCommand> m_connSetting;
};

} // namespace xr
