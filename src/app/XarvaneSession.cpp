#include "app/XarvaneSession.h"

#include "common/ErrorReporting.h"
#include "settings/SettingsStore.h"
#include "store/Heartbeat.h"
#include "store/HeartbeatReconciliation.h"

#include <QCoreApplication>

#include <cstdio>

namespace xr {

namespace {
constexpr int kSecond = 1000;
} // namespace

XarvaneSession::XarvaneSession(AppContext& context, AppWindows& windows)
    : m_context(context), m_RASNotify(context.remoteAccess),
      m_recorder(context, m_adocommSql, m_RASNotify, m_tmConn, windows),
      m_winTray(context, m_RASNotify, windows)
{
    m_tmConn.setInterval(kSecond);
    connect(&m_tmConn, &QTimer::timeout, this, &XarvaneSession::tmConnTimer);
    m_tmAllowance.setInterval(kSecond);
    connect(&m_tmAllowance, &QTimer::timeout, this, [this] {
        if (m_adoConnMain.isOpen())
            m_allowance.refresh();
    });
    connect(&m_tmRecord, &QTimer::timeout, this, [this] { m_recorder.tmRecordTimer(); });
    connect(&m_winTray, &TwinTray::closing, this, [this] {
        FormCloseQuery();
        FormClose();
    });

    m_RASNotify.setEnabled(true);
    m_RASNotify.setPollInterval(kSecond);
    m_RASNotify.OnConnected = [this](TRASNotify&, TRASNotify::ConnHandle hConn, const QString& entryName,
                                     const QString&, const QString&) {
        m_recorder.RASNotifyConnected(hConn, entryName);
        m_allowance.connectionStarted();
    };
    // The notifier takes its first look before the creation steps, so IsConnected is valid there.
    // A dial-up service that fails it is reported, and the start-up goes on with no connection
    // known: the notifier's polls ask the service again.
    reportErrors(m_context.prompter, [this] { m_RASNotify.Loaded(); });
    reportErrors(m_context.prompter, [this] { FormCreate(); });
    connect(&m_backupRestore, &BackupRestore::databaseReopened, this, [this] {
        reconcileHeartbeat();
        m_allowance.recompute(); // the restored file has allowances of its own
    });
}

void XarvaneSession::FormCreate()
{
    m_winTray.AddTrayIcon();
    m_context.settings = LoadSettings(m_context.registry, m_context.remoteAccess, m_context.prompter);
    m_context.server.configure(m_context.settings.Server);
    m_tmRecord.start(recordTimerIntervalMs(m_context.settings.Interval));
    if (!m_adoConnMain.open(m_context.appPath + kDatabaseFileName)) {
        m_databaseFailed = true;
        m_context.prompter.error(cannotOpenText(m_adoConnMain));
        return;
    }
    reconcileHeartbeat();
    m_sharedServer.start(m_adoConnMain.fileName());
    m_tmAllowance.start();
    if (m_RASNotify.IsConnected()) {
        m_recorder.RecordExistingConnection();
        m_allowance.connectionStarted();
    } else {
        m_allowance.recompute();
    }
}

// The records first, so that the allowance counts the connections that are still up.
void XarvaneSession::tmConnTimer()
{
    m_recorder.tmConnTimer();
    m_allowance.tmConnTimer();
}

// A record left open by a program that ended without writing its end time gets the last moment
// the heartbeat saw it; after a restore the check runs against the restored database.
void XarvaneSession::reconcileHeartbeat()
{
    xr::reconcileHeartbeat(m_adoConnMain, m_context.appPath + heartbeatFileName(), m_context.clock.now());
}

void XarvaneSession::FormCloseQuery()
{
    reportErrors(m_context.prompter, [this] { m_recorder.writeEndTimesIfConnected(); });
}

void XarvaneSession::FormClose()
{
    m_sharedServer.stop();
    m_adoConnMain.close();
}

void XarvaneSession::queryEndSession()
{
    writeEndTimeOnExit();
}

void XarvaneSession::WMEndSession()
{
    writeEndTimeOnExit();
    QCoreApplication::quit();
}

void XarvaneSession::writeEndTimeOnExit() noexcept
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
