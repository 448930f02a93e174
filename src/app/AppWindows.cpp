#include "app/AppWindows.h"

#include "browser/utMain.h"
#include "connections/utDialStatus.h"
#include "users/LoginMode.h"
#include "users/utLogin.h"

namespace xr {

void AppWindows::setLogin(TwinLogin* winLogin)
{
    m_winLogin = winLogin;
}

void AppWindows::setMainWindow(TwinMain* winMain)
{
    m_winMain = winMain;
}

TwinLogin* AppWindows::winLogin() const
{
    return m_winLogin;
}

void AppWindows::setDialStatus(TwinDialStatus* winDialStatus)
{
    m_winDialStatus = winDialStatus;
}

void AppWindows::closeDialStatus()
{
    if (m_winDialStatus && m_winDialStatus->isVisible())
        m_winDialStatus->close();
}

void AppWindows::showLogin(int loginMode)
{
    if (!m_winLogin)
        return;
    m_winLogin->setLoginMode(loginMode);
    if (loginMode == kLoginModeChangeUser)
        m_winLogin->exec();
    else
        m_winLogin->show();
}

void AppWindows::showConnectionInMain(const QString& connName, double sdt)
{
    if (m_winMain && m_winMain->isVisible())
        m_winMain->showConnection(connName, sdt);
}

void AppWindows::syncMainConnectionCommands(bool connected)
{
    if (m_winMain && m_winMain->isVisible())
        m_winMain->syncConnectionCommands(connected);
}

void AppWindows::showMainWindow()
{
    if (m_winMain)
        m_winMain->show();
}

void AppWindows::closeMainWindowIfShowing()
{
    if (m_winMain && m_winMain->isVisible())
        m_winMain->close();
}

} // namespace xr
