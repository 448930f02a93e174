#pragma once
// The heartbeat file beside the database: while a usage record is open it names that record and
// the moment its connection was last seen up, so that a start after a crash can give the record
// the end time that nothing else wrote.

#include "store/DatabaseIdentity.h"

#include <QString>

#include <optional>

namespace xr {

inline const QString kHeartbeatFileName = QStringLiteral("XRDB.heartbeat");

struct Heartbeat {
    DatabaseIdentity database;
    double Sdt = 0; // the open record's start, bit for bit as inserted
    QString ConnName;
    QString UserId;
    double lastSeen = 0; // day count: the connection was up at this moment
};

// Replaces the file atomically: a temporary file beside it, flushed to disk, renamed over it.
bool writeHeartbeat(const QString& file, const Heartbeat& heartbeat);
// Empty when the file cannot be read or does not hold a whole heartbeat.
std::optional<Heartbeat> readHeartbeat(const QString& file);

} // namespace xr
