#pragma once
// The database's tables, index and reserved accounts, as the installation step creates them.

#include <QSqlDatabase>
#include <QString>

namespace xr {

inline constexpr int kSchemaVersion = 1;

// Creates the tables, the index on XRRecord(Sdt), the version table and the two reserved
// accounts in an empty database. Throws DatabaseError on failure.
void createSchema(QSqlDatabase& db, const QString& adminPassword);

} // namespace xr
