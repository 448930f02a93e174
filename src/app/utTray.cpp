#include "app/utTray.h"

#include "app/TrayIconImage.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>

namespace xr {

namespace {
const QString kTrayTip = QStringLiteral("XarvaneXR");
} // namespace

TwinTray::TwinTray(AppContext& context, const TRASNotify& notify, AppWindows& windows)
    : m_trayMenu(m_pmTray, context, notify, windows)
{
    setObjectName(QStringLiteral("winTray"));
    connect(m_trayMenu.pmiExit(), &QAction::triggered, this, &TwinTray::pmiExitClick);
}

TwinTray::~TwinTray()
{
    RemoveTrayIcon();
}

void TwinTray::AddTrayIcon()
{
    m_trayIcon = new QSystemTrayIcon(trayIconImage(), this);
    m_trayIcon->setObjectName(QStringLiteral("trayIcon"));
    m_trayIcon->setToolTip(kTrayTip);
    m_trayIcon->setContextMenu(&m_pmTray);
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &TwinTray::WMTrayIcon);
    m_trayIcon->show();
}

void TwinTray::RemoveTrayIcon()
{
    if (!m_trayIcon)
        return;
    m_trayIcon->hide();
    delete m_trayIcon;
    m_trayIcon = nullptr;
}

// The right button's menu is the icon's context menu; a double-click opens the usage browser,
// and a single click does nothing.
void TwinTray::WMTrayIcon(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick)
        m_trayMenu.pmiOpenManagerClick();
}

void TwinTray::showTimeLeft(const QString& text)
{
    if (m_trayIcon)
        m_trayIcon->setToolTip(text.isEmpty() ? kTrayTip : kTrayTip + QLatin1Char('\n') + text);
}

void TwinTray::pmiExitClick()
{
    close();
}

void TwinTray::closeEvent(QCloseEvent* event)
{
    emit closing();
    event->accept();
    QCoreApplication::quit();
}

} // namespace xr
