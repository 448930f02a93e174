#pragma once
// The recorder's side of the heartbeat file: it names the open record from the moment the record
// is in the database, is replaced at most every 30 s while the connection is seen up, and goes
// when the database holds an end time as recent as the file's.

#include "common/Clock.h"
#include "store/Heartbeat.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace xr {

inline constexpr int kHeartbeatPeriodSeconds = 30;

class RecordHeartbeat {
public:
    RecordHeartbeat(QString databaseFile, QString heartbeatFile, const Clock& clock);

    // A record was inserted or changed hands: the file names it, seen up now.
    void name(double sdt, const QString& connName, const QString& userId);
    // The connection is up: the file is replaced when the period has passed since it was written.
    void seen();
    // The database holds the present as the record's end time, and the record stays open.
    void caughtUp();
    // No record is open (it was closed, or a new one is not in the database yet).
    void forget();

private:
    void write();

    QString m_databaseFile;
    QString m_heartbeatFile;
    const Clock& m_clock;
    std::optional<Heartbeat> m_record;
    QDateTime m_lastWritten;
    bool m_failing = false;
};

} // namespace xr
