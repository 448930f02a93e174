#include "app/AppWindows.h"

#include "users/LoginMode.h"
#include "users/utLogin.h"

namespace xr {

void AppWindows::setLogin(TwinLogin* winLogin)
{
    m_winLogin = winLogin;
}

void AppWindows::setMainWindow(QWidget* winMain)
{
    m_winMain = winMain;
}

TwinLogin* AppWindows::winLogin() const
{
    return m_winLogin;
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
