#include "store/Database.h"

#include <QFileInfo>
#include <QSqlQuery>

namespace xr {

Database::Database(QString connectionName) : m_connectionName(std::move(connectionName))
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
}

Database::~Database()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool Database::open(const QString& fileName)
{
    close();
    if (!QFileInfo(fileName).isFile())
        return false; // opening would create an empty database
    QSqlDatabase db = connection();
    db.setDatabaseName(fileName);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return false;
    if (!hasOurSchema()) {
        db.close();
        return false;
    }
    applyDurabilitySettings();
    return true;
}

// Rollback journal with full syncs: each statement is durable when it returns, and between
// statements the file alone is the whole database, so a plain file copy is a consistent backup.
void Database::applyDurabilitySettings()
{
    QSqlQuery query(connection());
    query.exec(QStringLiteral("pragma journal_mode = delete"));
    query.exec(QStringLiteral("pragma synchronous = full"));
}

bool Database::hasOurSchema()
{
    QSqlQuery query(connection());
    return query.exec(QStringLiteral("select count(*) from XRRecord, XRUser where 0")) && query.next();
}

void Database::close()
{
    QSqlDatabase db = connection();
    if (db.isOpen())
        db.close();
}

bool Database::reopen()
{
    return open(fileName());
}

bool Database::isOpen() const
{
    return connection().isOpen();
}

QString Database::fileName() const
{
    return connection().databaseName();
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

} // namespace xr
