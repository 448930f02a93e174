#include "store/Database.h"

#include "store/SchemaUpgrade.h"

#include <QFileInfo>
#include <QSqlQuery>

#include <exception>

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
    m_openError.clear();
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
    if (!upgradeSchema()) {
        db.close();
        return false;
    }
    return true;
}

bool Database::upgradeSchema()
{
    try {
        xr::upgradeSchema(connection());
        return true;
    } catch (const std::exception& error) {
        m_openError = QString::fromUtf8(error.what());
        return false;
    }
}

// Rollback journal with full syncs: each statement is durable when it returns.
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

QString cannotOpenText(const Database& database)
{
    const QString text = QStringLiteral("无法连接数据库！请与系统管理员联系！");
    return database.openError().isEmpty() ? text : text + QStringLiteral("\r\r") + database.openError();
}

} // namespace xr
