#pragma once
// Keeps the usage records in step with the connections: a record is inserted when a
// connection comes up, its end time is rewritten while it lasts and written when it ends, when
// the program closes and when the desktop session ends. Meanwhile the heartbeat file beside the
// database keeps the moment the connection was last seen up, for the start after a crash.

#include "common/AppContext.h"
#include "store/RecordHeartbeat.h"

#include <QString>

class QTimer;

namespace xr {

class RecorderWindows;
class SqlCommand;
class TRASNotify;

// The record timer's period for `Interval` minutes, kept within what a timer can take (at
// least a minute, at most about 24 days), whatever the stored setting holds.
int recordTimerIntervalMs(int minutes);

class Recorder {
public:
    Recorder(AppContext& context, SqlCommand& adocommSql, TRASNotify& notify, QTimer& tmConn,
             RecorderWindows& windows);

    // A connection came up (the notifier's event); only the entry name is used.
    void RASNotifyConnected(const QString& entryName);
    // A connection was already up when the program started.
    void RecordExistingConnection();
    // Each second while a record is open.
    void tmConnTimer();
    // Each `Interval` minutes.
    void tmRecordTimer();
    // The program is closing or the session is ending: the open record gets the present time.
    void writeEndTimeIfConnected();
    // A sign-in while connected: the open record, from its start, now belongs to the signed-in
    // user.
    void handOverOpenRecord();
    // A change of user while connected: the open record ends now and a new one, for the
    // signed-in user on the same connection, starts a moment later.
    void splitOpenRecord();

private:
    void openRecord(const QString& connName);
    void insertRecord();
    QString recordOwner() const;
    void writeEndTime();
    void closeRecord();
    void makeAutomaticBackup();

    AppContext& m_context;
    SqlCommand& m_adocommSql;
    TRASNotify& m_notify;
    QTimer& m_tmConn;
    RecorderWindows& m_windows;
    RecordHeartbeat m_heartbeat;
};

} // namespace xr
