#include "app/utTray.h"

#include "common/ErrorReporting.h"
#include "app/TrayIconImage.h"
#include "settings/SettingsStore.h"
#include "store/Heartbeat.h"
#include "store/HeartbeatReconciliation.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>

namespace xr {

namespace {
constexpr int kSecond = 1000;
const QString kTrayTip = QStringLiteral("XarvaneXR");
} // namespace

TwinTray::TwinTray(AppContext& context, AppWindows& windows)
    : m_context(context), m_windows(windows), m_RASNotify(context.remoteAccess),
      m_trayMenu(m_pmTray, context, m_RASNotify, windows),
      m_recorder(context, m_adocommSql, m_RASNotify, m_tmConn, m_windows)
{
    setObjectName(QStringLiteral("winTray"));
    m_tmConn.setInterval(kSecond);
    connect(&m_tmConn, &QTimer::timeout, this, [this] { m_recorder.tmConnTimer(); });
    connect(&m_tmRecord, &QTimer::timeout, this, [this] { m_recorder.tmRecordTimer(); });
    connect(m_trayMenu.pmiExit(), &QAction::triggered, this, &TwinTray::pmiExitClick);

    m_RASNotify.setEnabled(true);
    m_RASNotify.setPollInterval(kSecond);
    m_RASNotify.OnConnected = [this](TRASNotify&, TRASNotify::ConnHandle, const QString& entryName,
                                     const QString&, const QString&) {
        m_recorder.RASNotifyConnected(entryName);
    };
    // The notifier takes its first look before the creation steps, so IsConnected is valid there.
    if (reportErrors(m_context.prompter, [this] { m_RASNotify.Loaded(); }))
        reportErrors(m_context.prompter, [this] { FormCreate(); });
}

TwinTray::~TwinTray()
{
    RemoveTrayIcon();
}

void TwinTray::FormCreate()
{
    AddTrayIcon();
    m_context.settings = LoadSettings(m_context.registry, m_context.remoteAccess, m_context.prompter);
    m_tmRecord.start(recordTimerIntervalMs(m_context.settings.Interval));
    if (!m_adoConnMain.open(m_context.appPath + kDatabaseFileName)) {
        m_databaseFailed = true;
        m_context.prompter.error(QStringLiteral("无法连接数据库！请与系统管理员联系！"));
        return;
    }
    reconcileHeartbeat(m_adoConnMain, m_context.appPath + kHeartbeatFileName, m_context.clock.now());
    if (m_RASNotify.IsConnected())
        m_recorder.RecordExistingConnection();
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

void TwinTray::pmiExitClick()
{
    close();
}

void TwinTray::closeEvent(QCloseEvent* event)
{
    FormCloseQuery();
    FormClose();
    event->accept();
    QCoreApplication::quit();
}

void TwinTray::FormCloseQuery()
{
    reportErrors(m_context.prompter, [this] { m_recorder.writeEndTimeIfConnected(); });
}

void TwinTray::FormClose()
{
    m_adoConnMain.close();
}

void TwinTray::queryEndSession()
{
    FormCloseQuery();
}

void TwinTray::WMEndSession()
{
    reportErrors(m_context.prompter, [this] { m_recorder.writeEndTimeIfConnected(); });
    QCoreApplication::quit();
}

} // namespace xr
