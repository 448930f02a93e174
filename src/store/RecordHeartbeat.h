#pragma once
// The recorder's side of the heartbeat file: it names the open records from the moment each is in
// the database, is replaced at most every 30 s while their connections are seen up, and goes
// when the database holds an end time as recent as the file's for every one of them.

#include "common/Clock.h"
#include "store/Heartbeat.h"

#include <QDateTime>
#include <QString>

namespace xr {

inline constexpr int kHeartbeatPeriodSeconds = 30;

class RecordHeartbeat {
public:
    RecordHeartbeat(QString databaseFile, QString heartbeatFile, const Clock& clock);

    // The open records changed (one was inserted or closed, or they changed hands): the file
    // names them, seen up now; with none open it goes.
    void name(const QList<HeartbeatRecord>& records);
    // Whether the period has passed since the file was written.
    bool due() const;
    // The connections of `records` are up: the file is replaced when it is due.
    void seen(const QList<HeartbeatRecord>& records);
    // The database holds the present as the end time of every open record, and they stay open.
    void caughtUp();

private:
    void write(const QList<HeartbeatRecord>& records);

    QString m_databaseFile;
    QString m_heartbeatFile;
    const Clock& m_clock;
    QDateTime m_lastWritten;
    bool m_failing = false;
};

} // namespace xr
