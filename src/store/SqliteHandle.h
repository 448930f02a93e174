#pragma once
// The SQLite handle behind an open Qt connection, for what Qt's driver does not offer (reading
// a list at the engine's speed, online backups).

#include <QSqlDatabase>

struct sqlite3;

namespace xr {

// Throws DatabaseError when the connection is not an open SQLite connection.
sqlite3* sqliteHandle(const QSqlDatabase& db);

} // namespace xr
