#include "app/utTray.h"

#include "common/ErrorReporting.h"
#include "app/TrayIconImage.h"
#include "settings/SettingsStore.h"
#include "store/Heartbeat.h"
#include "store/HeartbeatReconciliation.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>

#include <cstdio>

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
    m_RASNotify.OnConnected = [this](TRASNotify&, TRASNotify::ConnHandle hConn, const QString& entryName,
                                     const QString&, const QString&) {
        m_recorder.RASNotifyConnected(hConn, entryName);
    };
    // The notifier takes its first look before the creation steps, so IsConnected is valid there.
    // A dial-up service that fails it is reported, and the start-up goes on with no connection
    // known: the notifier's polls ask the service again.
    reportErrors(m_context.prompter, [this] { m_RASNotify.Loaded(); });
    reportErrors(m_context.prompter, [this] { FormCreate(); });
    connect(&m_backupRestore, &BackupRestore::databaseReopened, this, &TwinTray::reconcileHeartbeat);
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
    reconcileHeartbeat();
    if (m_RASNotify.IsConnected())
        m_recorder.RecordExistingConnection();
}

// A record left open by a program that ended without writing its end time gets the last moment
// the heartbeat saw it; after a restore the check runs against the restored database.
void TwinTray::reconcileHeartbeat()
{
    xr::reconcileHeartbeat(m_adoConnMain, m_context.appPath + kHeartbeatFileName, m_context.clock.now());
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
    reportErrors(m_context.prompter, [this] { m_recorder.writeEndTimesIfConnected(); });
}

void TwinTray::FormClose()
{
    m_adoConnMain.close();
}

void TwinTray::queryEndSession()
{
    writeEndTimeOnExit();
}

void TwinTray::WMEndSession()
{
    writeEndTimeOnExit();
    QCoreApplication::quit();
}

void TwinTray::writeEndTimeOnExit() noexcept
{
    if (!m_adoConnMain.isOpen())
        return;
    try {
        m_recorder.writeEndTimesIfConnected();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n",
                     qUtf8Printable(QStringLiteral("结束时间未能写入：") + QString::fromUtf8(error.what())));
    }
}

} // namespace xr
