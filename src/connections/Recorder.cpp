#include "connections/Recorder.h"

#include "connections/RASNotify.h"
#include "connections/RecorderWindows.h"
#include "store/ByteCountValue.h"
#include "store/Database.h"
#include "store/DatabaseCopy.h"
#include "store/DayCount.h"
#include "store/Heartbeat.h"
#include "store/Identifiers.h"
#include "store/SqlCommand.h"
#include "store/Statement.h"

#include <QTimer>

namespace xr {

namespace {
const QString kInsertRecord = QStringLiteral(
    "insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName,Station) values (:i,:s,:e,:u,:c,:p)");
const QString kUpdateEndTime =
    QStringLiteral("update XRRecord set Edt = :e, RxBytes = :r, TxBytes = :t where (Sdt = :s)");
const QString kUpdateUser = QStringLiteral("update XRRecord set UserId = :u where Sdt = :s");
const QString kFindStart = QStringLiteral("select RecordId from XRRecord where Sdt = :s");
const QString kAutoBackupFileName = QStringLiteral("AutoBackupXRDB.mdb");
// A connection still up this long after its hang-up was not hung up: its record runs on.
constexpr qint64 kHangUpGraceMs = 5000;
} // namespace

Recorder::Recorder(AppContext& context, SqlCommand& adocommSql, TRASNotify& notify, QTimer& tmConn,
                   RecorderWindows& windows)
    : m_context(context), m_adocommSql(adocommSql), m_notify(notify), m_tmConn(tmConn), m_windows(windows),
      m_heartbeat(context.appPath + kDatabaseFileName, context.appPath + heartbeatFileName(), context.clock)
{
}

void Recorder::RASNotifyConnected(ConnHandle hConn, const QString& entryName)
{
    m_windows.closeDialStatus();
    openRecord(hConn, entryName);
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

// Nobody is signed in yet, so the records belong to the anonymous user; the last listed
// connection becomes the latest.
void Recorder::RecordExistingConnection()
{
    for (int index = 0; index < m_notify.Count(); ++index)
        if (m_notify.IsHandleConnected(m_notify.Handles(index)))
            openRecord(m_notify.Handles(index), m_notify.EntryNames(index));
    if (!m_open.isEmpty() && !m_context.currentConnection.signedIn() && !m_windows.noticeExists())
        m_windows.showNotice(TNoticeKind::nkNoUser);
}

// With the last record closed the timer stops; while records stay open, the floating display
// and the main window follow the latest of them.
void Recorder::tmConnTimer()
{
    if (clockWentBack())
        splitOpenRecordsAt(m_lastTick);
    m_lastTick = m_context.clock.now();
    m_windows.syncMainConnectionCommands(m_notify.IsConnected());
    const QList<OpenRecord> ended = takeEndedRecords();
    if (m_open.isEmpty())
        m_tmConn.stop();
    if (!ended.isEmpty())
        closeRecords(ended);
    if (m_open.isEmpty())
        return;
    const TConnection& current = m_context.currentConnection;
    if (followLatest())
        m_windows.showConnectionInMain(current.ConnName, current.Sdt);
    if (m_heartbeat.due()) {
        for (OpenRecord& record : m_open)
            readTraffic(record);
        m_heartbeat.seen(heartbeatRecords());
    }
    m_windows.showOnlineTime(current.Sdt, toDayCount(m_context.clock.now()));
}

void Recorder::tmRecordTimer()
{
    if (m_context.settings.TimeRecord)
        writeConnectedEndTimes();
}

void Recorder::writeEndTimesIfConnected()
{
    if (writeConnectedEndTimes())
        m_heartbeat.caughtUp();
}

void Recorder::handOverOpenRecords()
{
    const QString& userId = m_context.currentConnection.UserId;
    for (OpenRecord& record : m_open) {
        m_adocommSql.setCommandText(kUpdateUser);
        m_adocommSql.setParameter(QStringLiteral(":u"), userId);
        m_adocommSql.setParameter(QStringLiteral(":s"), record.Sdt);
        m_adocommSql.execute();
        record.UserId = userId;
    }
    m_heartbeat.name(heartbeatRecords());
}

void Recorder::splitOpenRecords()
{
    splitOpenRecordsAt(m_context.clock.now());
}

// The clock set back while records were open: each record ends at the last moment it was seen,
// and the time from the new present on goes into a record of its own, so that no time is
// counted twice and none is lost.
bool Recorder::clockWentBack()
{
    return !m_open.isEmpty() && m_lastTick.isValid() && m_context.clock.now() < m_lastTick;
}

// The clock is read again for each new start, so the old records keep the time up to the
// change. A record whose successor cannot be inserted is no longer kept open.
void Recorder::splitOpenRecordsAt(const QDateTime& end)
{
    for (qsizetype index = 0; index < m_open.size(); ++index) {
        writeEndTime(m_open[index], end);
        const OpenRecord ended = m_open.takeAt(index);
        m_open.insert(index, insertRecord(ended.hConn, ended.ConnName));
    }
    followLatest();
    m_heartbeat.name(heartbeatRecords());
}

// The timer starts first: a failing insert leaves it running, and the notifier reports the
// connection again at its next poll.
void Recorder::openRecord(ConnHandle hConn, const QString& connName)
{
    m_tmConn.start();
    m_lastTick = m_context.clock.now();
    m_open.append(insertRecord(hConn, connName));
    followLatest();
    m_heartbeat.name(heartbeatRecords());
}

Recorder::OpenRecord Recorder::insertRecord(ConnHandle hConn, const QString& connName)
{
    const QDateTime start = freeStart();
    const double sdt = toDayCount(start);
    OpenRecord record{hConn, sdt, sdt, connName, recordOwner(), {}, {}};
    readTraffic(record);
    m_adocommSql.setCommandText(kInsertRecord);
    m_adocommSql.setParameter(QStringLiteral(":i"), NewId(start));
    m_adocommSql.setParameter(QStringLiteral(":s"), record.Sdt);
    m_adocommSql.setParameter(QStringLiteral(":e"), record.Edt);
    m_adocommSql.setParameter(QStringLiteral(":u"), record.UserId);
    m_adocommSql.setParameter(QStringLiteral(":c"), record.ConnName);
    m_adocommSql.setParameter(QStringLiteral(":p"), stationName(m_context.settings));
    m_adocommSql.execute();
    return record;
}

// The start is the key of a record's updates: a new record starts at the present, a millisecond
// later for each record that already starts then (two connections seen in the same poll).
QDateTime Recorder::freeStart() const
{
    QDateTime start = m_context.clock.now();
    while (recordStartsAt(toDayCount(start)))
        start = start.addMSecs(1);
    return start;
}

bool Recorder::recordStartsAt(double sdt) const
{
    return runStatement(m_adocommSql.database().connection(), kFindStart, {{QStringLiteral(":s"), sdt}})
        .next();
}

QString Recorder::recordOwner() const
{
    const TConnection& current = m_context.currentConnection;
    return current.signedIn() ? current.UserId : kAnonymousUserId;
}

QList<platform::ConnHandle> Recorder::openHandles() const
{
    QList<ConnHandle> handles;
    for (const OpenRecord& record : m_open)
        handles.append(record.hConn);
    return handles;
}

QList<TimeBounds> Recorder::unwrittenTimes(const QDateTime& now) const
{
    QList<TimeBounds> times;
    for (const OpenRecord& record : m_open)
        times.append({record.Edt, toDayCount(now)});
    return times;
}

void Recorder::hungUpAt(const QDateTime& moment)
{
    for (OpenRecord& record : m_open)
        if (!record.hungUp.isValid())
            record.hungUp = moment;
}

QDateTime Recorder::endMoment(const OpenRecord& record) const
{
    const QDateTime now = m_context.clock.now();
    const bool hungUpJustNow = record.hungUp.isValid() && record.hungUp <= now &&
                               record.hungUp.msecsTo(now) <= kHangUpGraceMs;
    return hungUpJustNow ? record.hungUp : now;
}

void Recorder::writeEndTime(OpenRecord& record)
{
    writeEndTime(record, endMoment(record));
}

void Recorder::readTraffic(OpenRecord& record)
{
    platform::ByteCounts counts;
    if (m_context.remoteAccess.getConnectionStatistics(record.hConn, counts) == platform::ras::Success)
        record.traffic.read(counts);
}

// A connection that has ended can no longer be read: its record keeps the bytes of the last
// reading (at most a heartbeat period old).
void Recorder::writeEndTime(OpenRecord& record, const QDateTime& end)
{
    readTraffic(record);
    record.Edt = toDayCount(end);
    const std::optional<platform::ByteCounts> moved = record.traffic.moved();
    m_adocommSql.setCommandText(kUpdateEndTime);
    m_adocommSql.setParameter(QStringLiteral(":e"), record.Edt);
    m_adocommSql.setParameter(QStringLiteral(":r"), byteCountValue(moved, &platform::ByteCounts::received));
    m_adocommSql.setParameter(QStringLiteral(":t"), byteCountValue(moved, &platform::ByteCounts::sent));
    m_adocommSql.setParameter(QStringLiteral(":s"), record.Sdt);
    m_adocommSql.execute();
    TConnection& current = m_context.currentConnection;
    if (current.Sdt == record.Sdt)
        current.Edt = record.Edt;
}

// Answers whether any record was written.
bool Recorder::writeConnectedEndTimes()
{
    bool written = false;
    for (OpenRecord& record : m_open) {
        if (m_notify.IsHandleConnected(record.hConn)) {
            writeEndTime(record);
            written = true;
        }
    }
    return written;
}

// The records whose connection the notifier no longer lists as connected, taken out of the open
// ones: a failure to write their end leaves them with the end time last written.
QList<Recorder::OpenRecord> Recorder::takeEndedRecords()
{
    QList<OpenRecord> ended;
    for (auto record = m_open.begin(); record != m_open.end();) {
        if (m_notify.IsHandleConnected(record->hConn)) {
            ++record;
        } else {
            ended.append(*record);
            record = m_open.erase(record);
        }
    }
    return ended;
}

// Their connections are gone: write the ends, copy the database; once no record is open any
// more, announce it and put the banner back.
void Recorder::closeRecords(QList<OpenRecord> ended)
{
    for (OpenRecord& record : ended)
        writeEndTime(record);
    m_heartbeat.name(heartbeatRecords());
    const bool offline = m_open.isEmpty();
    if (offline && !m_windows.noticeExists())
        m_windows.showNotice(TNoticeKind::nkDisconnected);
    if (m_context.settings.AutoBackup)
        makeAutomaticBackup();
    if (offline)
        m_windows.showIdleBanner();
}

// `CurrentConnection` names the latest open record; answers whether it named another before.
bool Recorder::followLatest()
{
    if (m_open.isEmpty())
        return false;
    const OpenRecord& latest = m_open.constLast();
    TConnection& current = m_context.currentConnection;
    const bool moved = current.Sdt != latest.Sdt;
    current.Sdt = latest.Sdt;
    current.Edt = latest.Edt;
    current.ConnName = latest.ConnName;
    return moved;
}

QList<HeartbeatRecord> Recorder::heartbeatRecords() const
{
    QList<HeartbeatRecord> records;
    for (const OpenRecord& record : m_open)
        records.append({record.Sdt, record.ConnName, record.UserId, record.traffic.moved()});
    return records;
}

void Recorder::makeAutomaticBackup()
{
    const QSqlDatabase live = m_adocommSql.database().connection();
    if (!backupDatabase(live, m_context.appPath + kAutoBackupFileName))
        m_context.prompter.error(QStringLiteral("自动备份失败！"));
}

} // namespace xr
