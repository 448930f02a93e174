#pragma once
// The shared server's tables. XRRecord holds every PC's records: a record is known by its
// Station and RecordId (unique together) and has a number of the server's own, RowNo, by which
// the usage list finds it again; Assigned is 1 once an administrator has given the record to a
// user, so that the PC's later copies no longer change its owner. XRRecordGone keeps the Station
// and RecordId of every record deleted on the server, so that no later copy brings it back.
// XRUser, XRAllowance and XRGrant are those of the PC's own database.

#include <QSqlDatabase>
#include <QString>

namespace xr {

inline constexpr int kServerSchemaVersion = 1;

// Creates whatever of the tables, indexes and the two reserved accounts is missing; never
// changes what is there. `adminPassword` is the new built-in administrator's. Throws
// DatabaseError.
void createServerSchema(const QSqlDatabase& db, const QString& adminPassword);

// The version of the server's tables: 0 when they are not ours. Throws DatabaseError.
int serverSchemaVersion(const QSqlDatabase& db);

} // namespace xr
