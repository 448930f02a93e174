#include "store/ReadOnlyDatabase.h"

#include <QFileInfo>

#include <atomic>

namespace xr {

namespace {
std::atomic<int> g_connections{0};
} // namespace

ReadOnlyDatabase::ReadOnlyDatabase(const QString& fileName)
    : m_connectionName(QStringLiteral("readOnly%1").arg(++g_connections))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    if (!QFileInfo(fileName).isFile())
        return;
    db.setDatabaseName(fileName);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
    db.open();
}

ReadOnlyDatabase::~ReadOnlyDatabase()
{
    {
        QSqlDatabase db = connection();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool ReadOnlyDatabase::isOpen() const
{
    return connection().isOpen();
}

QSqlDatabase ReadOnlyDatabase::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

} // namespace xr
