#pragma once
// Keeps the usage records in step with the connections: each connection that comes up gets a
// record of its own, whose end time is rewritten while that connection lasts and written when it
// ends, when the program closes and when the desktop session ends, each time with the bytes the
// connection has moved since the record started. `CurrentConnection` names the latest open
// record. Meanwhile the heartbeat file beside the database keeps the moment the connections were
// last seen up and their bytes then, for the start after a crash.

#include "common/AppContext.h"
#include "connections/TrafficMeter.h"
#include "store/RecordHeartbeat.h"
#include "store/TimeBounds.h"

#include <QDateTime>
#include <QList>
#include <QString>

class QTimer;

namespace xr {

class RecorderWindows;
class SqlCommand;
class TRASNotify;

class Recorder {
public:
    using ConnHandle = platform::ConnHandle;

    Recorder(AppContext& context, SqlCommand& adocommSql, TRASNotify& notify, QTimer& tmConn,
             RecorderWindows& windows);

    // A connection came up (the notifier's event): its record is tied to its handle.
    void RASNotifyConnected(ConnHandle hConn, const QString& entryName);
    // Connections were already up when the program started: each connected one gets a record.
    void RecordExistingConnection();
    // Each second while a record is open: a record whose connection is no longer up ends.
    void tmConnTimer();
    // Each `Interval` minutes.
    void tmRecordTimer();
    // The program is closing or the session is ending: every open record whose connection is up
    // gets the present time.
    void writeEndTimesIfConnected();
    // A sign-in while connected: the open records, from their start, now belong to the
    // signed-in user.
    void handOverOpenRecords();
    // A change of user while connected: each open record ends now and a new one, for the
    // signed-in user on the same connection, starts a moment later.
    void splitOpenRecords();

    // The connections of the open records, to hang up.
    QList<ConnHandle> openHandles() const;
    // Per open record, the time from its end as written to `now` (day counts): what the
    // database does not hold yet.
    QList<TimeBounds> unwrittenTimes(const QDateTime& now) const;
    // The open records' connections were hung up at `moment`: each record ends then, unless its
    // connection outlives the hang-up by more than a few seconds (a hang-up that failed).
    void hungUpAt(const QDateTime& moment);

private:
    struct OpenRecord {
        ConnHandle hConn = 0;
        double Sdt = 0; // no other record of the database starts then: the key of its updates
        double Edt = 0;
        QString ConnName;
        QString UserId;
        TrafficMeter traffic;
        QDateTime hungUp; // when its connection was hung up; invalid when it was not
    };

    void openRecord(ConnHandle hConn, const QString& connName);
    OpenRecord insertRecord(ConnHandle hConn, const QString& connName);
    QDateTime freeStart() const;
    bool recordStartsAt(double sdt) const;
    QString recordOwner() const;
    // Reads the connection's counters into its record (one small read).
    void readTraffic(OpenRecord& record);
    void writeEndTime(OpenRecord& record);
    void writeEndTime(OpenRecord& record, const QDateTime& end);
    QDateTime endMoment(const OpenRecord& record) const;
    void splitOpenRecordsAt(const QDateTime& end);
    bool clockWentBack();
    bool writeConnectedEndTimes();
    QList<OpenRecord> takeEndedRecords();
    void closeRecords(QList<OpenRecord> ended);
    bool followLatest();
    QList<HeartbeatRecord> heartbeatRecords() const;
    void makeAutomaticBackup();

    AppContext& m_context;
    SqlCommand& m_adocommSql;
    TRASNotify& m_notify;
    QTimer& m_tmConn;
    RecorderWindows& m_windows;
    RecordHeartbeat m_heartbeat;
    QList<OpenRecord> m_open; // in the order they were opened: the last is the latest
    QDateTime m_lastTick;     // the clock at the last tick with a record open
};

} // namespace xr
