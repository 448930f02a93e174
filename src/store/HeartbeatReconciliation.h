#pragma once
// Gives the records a heartbeat names the end time that a crash kept from being written. Runs
// when the database is opened at start-up and whenever it is restored or reopened.

#include <QDateTime>
#include <QString>

namespace xr {

class Database;

enum class HeartbeatOutcome {
    NoHeartbeat, // no file: the last run ended its records normally
    Extended,    // an end time moved forward to the moment last seen
    Unchanged,   // every record named already ended at or after that moment
    Discarded,   // unreadable, from another database, or naming no record of it: removed, nothing changed
    Kept,        // an end time could not be written: the file stays for the next time
};

// Reads the heartbeat file `heartbeatFile`; when it belongs to `database`'s file, each record of
// the database that the file names and whose end time is earlier than the moment last seen gets that
// moment as its end time (never after `now`, never before the record's start). The file is then
// removed. Anything unusual (a named record the database does not hold, say) is told in one line
// on standard error.
HeartbeatOutcome reconcileHeartbeat(Database& database, const QString& heartbeatFile, const QDateTime& now);

} // namespace xr
