#pragma once
// The heartbeat file beside the database: while usage records are open it names them and the
// moment their connections were last seen up, so that a start after a crash can give each record
// the end time that nothing else wrote.

#include "platform/RemoteAccess.h"
#include "store/DatabaseIdentity.h"

#include <QList>
#include <QString>

#include <optional>

namespace xr {

// "XRDB.NAME.heartbeat", NAME being the system account running this copy: people signed in to
// the desktop at once each run a copy on the one database, and each keeps its own heartbeat.
QString heartbeatFileName();

struct HeartbeatRecord {
    double Sdt = 0; // the open record's start, bit for bit as inserted
    QString ConnName;
    QString UserId;
    std::optional<platform::ByteCounts> traffic{}; // moved up to the moment last seen, when known

    bool operator==(const HeartbeatRecord&) const = default;
};

struct Heartbeat {
    DatabaseIdentity database;
    QList<HeartbeatRecord> records; // every open record, never none
    double lastSeen = 0;            // day count: their connections were up at this moment
};

// Replaces the file atomically: a temporary file beside it, flushed to disk, renamed over it.
bool writeHeartbeat(const QString& file, const Heartbeat& heartbeat);
// Empty when the file cannot be read or does not hold a whole heartbeat. A file of an earlier
// version, which named one record at its top level, reads as a heartbeat of that one record.
std::optional<Heartbeat> readHeartbeat(const QString& file);

} // namespace xr
