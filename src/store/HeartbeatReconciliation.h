#pragma once
// Gives the record a heartbeat names the end time that a crash kept from being written. Runs
// when the database is opened at start-up and whenever it is restored or reopened.

#include <QDateTime>
#include <QString>

namespace xr {

class Database;

enum class HeartbeatOutcome {
    NoHeartbeat, // no file: the last run ended its record normally
    Extended,    // the record's end time moved forward to the moment last seen
    Unchanged,   // the record already ended at or after that moment
    Discarded,   // unreadable, from another database, or naming no record: removed, nothing changed
    Kept,        // the end time could not be written: the file stays for the next time
};

// Reads the heartbeat file `heartbeatFile`; when it belongs to `database`'s file and names a
// record of it whose end time is earlier than the moment last seen, sets the end time to that
// moment (never after `now`, never before the record's start). The file is then removed.
// Anything unusual is told in one line on standard error.
HeartbeatOutcome reconcileHeartbeat(Database& database, const QString& heartbeatFile, const QDateTime& now);

} // namespace xr
