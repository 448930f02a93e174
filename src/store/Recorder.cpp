#include "store/Recorder.h"

#include "connections/RASNotify.h"
#include "store/Database.h"
#include "store/DatabaseCopy.h"
#include "store/DayCount.h"
#include "store/Heartbeat.h"
#include "store/Identifiers.h"
#include "store/RecorderWindows.h"
#include "store/SqlCommand.h"

#include <QTimer>

#include <algorithm>
#include <limits>

namespace xr {

namespace {
const QString kInsertRecord = QStringLiteral(
    "insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) values (:i,:s,:e,:u,:c)");
const QString kUpdateEndTime = QStringLiteral("update XRRecord set Edt = :e where (Sdt = :s)");
const QString kUpdateUser = QStringLiteral("update XRRecord set UserId = :u where Sdt = :s");
const QString kAutoBackupFileName = QStringLiteral("AutoBackupXRDB.mdb");
} // namespace

int recordTimerIntervalMs(int minutes)
{
    constexpr int kMinute = 60000;
    constexpr int kMostMinutes = std::numeric_limits<int>::max() / kMinute;
    return std::clamp(minutes, 1, kMostMinutes) * kMinute;
}

Recorder::Recorder(AppContext& context, SqlCommand& adocommSql, TRASNotify& notify, QTimer& tmConn,
                   RecorderWindows& windows)
    : m_context(context), m_adocommSql(adocommSql), m_notify(notify), m_tmConn(tmConn), m_windows(windows),
      m_heartbeat(context.appPath + kDatabaseFileName, context.appPath + kHeartbeatFileName, context.clock)
{
}

void Recorder::RASNotifyConnected(const QString& entryName)
{
    m_windows.closeDialStatus();
    openRecord(entryName);
    const TConnection& current = m_context.currentConnection;
    if (!m_windows.noticeExists()) {
        if (current.signedIn()) {
            m_windows.showNotice(TNoticeKind::nkUser);
        } else {
            m_windows.playNoticeSound(TNoticeKind::nkNoUser);
            m_windows.showLogin(kLoginModeConnectionUp);
        }
    }
    m_windows.showConnectionInMain(current.ConnName, current.Sdt);
}

void Recorder::RecordExistingConnection()
{
    if (m_notify.Count() <= 0)
        return;
    openRecord(m_notify.EntryNames(0));
    if (!m_context.currentConnection.signedIn() && !m_windows.noticeExists())
        m_windows.showNotice(TNoticeKind::nkNoUser);
}

void Recorder::tmConnTimer()
{
    const bool connected = m_notify.IsConnected();
    m_windows.syncMainConnectionCommands(connected);
    if (connected) {
        m_heartbeat.seen();
        m_windows.showOnlineTime(m_context.currentConnection.Sdt, toDayCount(m_context.clock.now()));
    } else {
        closeRecord();
    }
}

void Recorder::tmRecordTimer()
{
    if (m_context.settings.TimeRecord && m_notify.IsConnected())
        writeEndTime();
}

void Recorder::writeEndTimeIfConnected()
{
    if (!m_notify.IsConnected())
        return;
    writeEndTime();
    m_heartbeat.caughtUp();
}

void Recorder::handOverOpenRecord()
{
    const TConnection& current = m_context.currentConnection;
    m_adocommSql.setCommandText(kUpdateUser);
    m_adocommSql.setParameter(QStringLiteral(":u"), current.UserId);
    m_adocommSql.setParameter(QStringLiteral(":s"), current.Sdt);
    m_adocommSql.execute();
    m_heartbeat.name(current.Sdt, current.ConnName, recordOwner());
}

// The clock is read again for the new start, so the old record keeps the time up to the change.
void Recorder::splitOpenRecord()
{
    writeEndTime();
    m_context.currentConnection.Sdt = toDayCount(m_context.clock.now());
    insertRecord();
}

// The timer starts first: a failing insert leaves it running, and the notifier reports the
// connection again at its next poll.
void Recorder::openRecord(const QString& connName)
{
    m_tmConn.start();
    TConnection& current = m_context.currentConnection;
    current.Sdt = toDayCount(m_context.clock.now());
    current.ConnName = connName;
    insertRecord();
}

// Until the new record is in the database, the heartbeat names no record: the earlier one is
// not written again.
void Recorder::insertRecord()
{
    const TConnection& current = m_context.currentConnection;
    m_heartbeat.forget();
    m_adocommSql.setCommandText(kInsertRecord);
    m_adocommSql.setParameter(QStringLiteral(":i"), NewId(m_context.clock.now()));
    m_adocommSql.setParameter(QStringLiteral(":s"), current.Sdt);
    m_adocommSql.setParameter(QStringLiteral(":e"), current.Sdt);
    m_adocommSql.setParameter(QStringLiteral(":u"), recordOwner());
    m_adocommSql.setParameter(QStringLiteral(":c"), current.ConnName);
    m_adocommSql.execute();
    m_heartbeat.name(current.Sdt, current.ConnName, recordOwner());
}

QString Recorder::recordOwner() const
{
    const TConnection& current = m_context.currentConnection;
    return current.signedIn() ? current.UserId : kAnonymousUserId;
}

void Recorder::writeEndTime()
{
    TConnection& current = m_context.currentConnection;
    current.Edt = toDayCount(m_context.clock.now());
    m_adocommSql.setCommandText(kUpdateEndTime);
    m_adocommSql.setParameter(QStringLiteral(":e"), current.Edt);
    m_adocommSql.setParameter(QStringLiteral(":s"), current.Sdt);
    m_adocommSql.execute();
}

// The connection is gone: stop ticking, write the end, announce it, copy the database.
void Recorder::closeRecord()
{
    m_tmConn.stop();
    writeEndTime();
    m_heartbeat.forget();
    if (!m_windows.noticeExists())
        m_windows.showNotice(TNoticeKind::nkDisconnected);
    if (m_context.settings.AutoBackup)
        makeAutomaticBackup();
    m_windows.showIdleBanner();
}

void Recorder::makeAutomaticBackup()
{
    const QString folder = m_context.appPath;
    if (!copyDatabaseFile(folder + kDatabaseFileName, folder + kAutoBackupFileName))
        m_context.prompter.error(QStringLiteral("自动备份失败！"));
}

} // namespace xr
