#include "store/SqliteHandle.h"

#include "store/DatabaseError.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

namespace xr {

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    const bool sqlite = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0;
    sqlite3* connection = sqlite ? *static_cast<sqlite3* const*>(handle.constData()) : nullptr;
    if (!connection)
        throw DatabaseError(QStringLiteral("An open SQLite database is needed"));
    return connection;
}

} // namespace xr
