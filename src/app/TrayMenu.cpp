#include "app/TrayMenu.h"

#include "app/AppWindows.h"
#include "common/AppContext.h"
#include "connections/HangUp.h"
#include "connections/RASNotify.h"
#include "notices/Notices.h"
#include "users/LoginMode.h"
#include "users/SignOut.h"

#include <QAction>
#include <QMenu>

namespace xr {

TrayMenuAvailability trayMenuAvailability(bool connected, bool signedIn)
{
    return {!connected && signedIn, connected && signedIn, !signedIn, signedIn};
}

QString floatWinCaption(bool floatWinExists)
{
    return floatWinExists ? QStringLiteral("关闭悬浮窗口(&F)") : QStringLiteral("打开悬浮窗口(&F)");
}

TrayMenu::TrayMenu(QMenu& pmTray, AppContext& context, const TRASNotify& notify, AppWindows& windows)
    : m_pmTray(pmTray), m_context(context), m_notify(notify), m_windows(windows)
{
    m_pmTray.setObjectName(QStringLiteral("pmTray"));
    m_pmiFW = addItem(QStringLiteral("关闭悬浮窗口"), "pmiFW");
    addSeparator("pmiLine4");
    m_pmiAbout = addItem(QStringLiteral("关于XR(&A)..."), "pmiAbout");
    m_pmiHelp = addItem(QStringLiteral("帮助(&H)"), "pmiHelp");
    addSeparator("pmiLine2");
    m_pmiDial = addItem(QStringLiteral("拨号连接(&C)"), "pmiDial");
    m_pmiDisConn = addItem(QStringLiteral("断开连接(&D)"), "pmiDisConn");
    addSeparator("pmiLine3");
    m_pmiLogin = addItem(QStringLiteral("登录(&I)..."), "pmiLogin");
    m_pmiLogout = addItem(QStringLiteral("注销(&O)"), "pmiLogout");
    m_pmiOpenManager = addItem(QStringLiteral("打开管理器(&M)..."), "pmiOpenManager");
    addSeparator("pmiLine1");
    m_pmiExit = addItem(QStringLiteral("退出(&X)"), "pmiExit");

    connect(&m_pmTray, &QMenu::aboutToShow, this, &TrayMenu::pmTrayPopup);
    connect(m_pmiDisConn, &QAction::triggered, this, &TrayMenu::pmiDisConnClick);
    connect(m_pmiLogin, &QAction::triggered, this, &TrayMenu::pmiLoginClick);
    connect(m_pmiLogout, &QAction::triggered, this, &TrayMenu::pmiLogoutClick);
    connect(m_pmiOpenManager, &QAction::triggered, this, &TrayMenu::pmiOpenManagerClick);
}

QAction* TrayMenu::addItem(const QString& caption, const char* name)
{
    QAction* item = m_pmTray.addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

void TrayMenu::addSeparator(const char* name)
{
    m_pmTray.addSeparator()->setObjectName(QString::fromLatin1(name));
}

void TrayMenu::pmTrayPopup()
{
    const TrayMenuAvailability available =
        trayMenuAvailability(m_notify.IsConnected(), m_context.currentConnection.signedIn());
    m_pmiDial->setEnabled(available.dial);
    m_pmiDisConn->setEnabled(available.disConn);
    m_pmiLogin->setEnabled(available.login);
    m_pmiLogout->setEnabled(available.logout);
    m_pmiFW->setText(floatWinCaption(m_windows.floatWinExists()));
}

// The record is closed by the recorder once it sees the connection gone.
void TrayMenu::pmiDisConnClick()
{
    hangUpFirstConnection(m_context, m_notify);
}

void TrayMenu::pmiLoginClick()
{
    if (!m_context.currentConnection.signedIn())
        m_windows.showLogin(kLoginModeTray);
}

void TrayMenu::pmiLogoutClick()
{
    if (SignOut(m_context, m_notify.IsConnected()))
        m_windows.closeMainWindowIfShowing();
}

void TrayMenu::pmiOpenManagerClick()
{
    if (m_context.currentConnection.signedIn())
        m_windows.showMainWindow();
    else
        m_windows.showLogin(kLoginModeOpenManager);
}

void TrayMenu::connectNotices(Notices& notices)
{
    FloatingDisplay& floatingDisplay = notices.floatingDisplay();
    floatingDisplay.setPopupMenu(&m_pmTray);
    connect(m_pmiFW, &QAction::triggered, &floatingDisplay, &FloatingDisplay::pmiFWClick);
    connect(m_pmiAbout, &QAction::triggered, &notices, [&notices] { notices.showAbout(nullptr); });
    connect(m_pmiHelp, &QAction::triggered, &notices, &Notices::ShowHelp);
    connect(&floatingDisplay, &FloatingDisplay::managerWanted, this, &TrayMenu::pmiOpenManagerClick);
}

} // namespace xr
