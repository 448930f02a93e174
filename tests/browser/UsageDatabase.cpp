#include "UsageDatabase.h"

#include "store/DatabaseError.h"
#include "store/DayCount.h"
#include "store/Schema.h"
#include "store/Statement.h"

#include "InstalledDatabase.h"

#include <QSqlQuery>
#include <QVariant>

namespace xr::test {

namespace {
int g_nextConnection = 0;

void run(QSqlQuery& query)
{
    if (!query.exec())
        throw DatabaseError(query.lastError(), statementPurpose(query.lastQuery()));
}
} // namespace

UsageDatabase::UsageDatabase() : m_connectionName(QStringLiteral("browser-test-%1").arg(++g_nextConnection))
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(m_dir.filePath(QStringLiteral("XRDB.mdb")));
    if (!m_db.open())
        throw DatabaseError(m_db.lastError(), QStringLiteral("打开数据库"));
    createSchema(m_db, QStringLiteral("pw"), AdminPassword::Kept, HashCost::Minimum);
}

UsageDatabase::~UsageDatabase()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void UsageDatabase::addUser(const QString& id, const QString& name)
{
    if (!addAccount(m_db, {id, name}))
        throw DatabaseError(QStringLiteral("添加用户 %1 失败").arg(name));
}

void UsageDatabase::addRecord(const QDateTime& start, const QDateTime& end, const QString& userId,
                              const QString& connName)
{
    QSqlQuery query(m_db);
    query.prepare(
        QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) values (:i,:s,:e,:u,:c)"));
    query.bindValue(QStringLiteral(":i"), start.toString(QStringLiteral("yyyyMMddHHmmsszzz")));
    query.bindValue(QStringLiteral(":s"), toDayCount(start));
    query.bindValue(QStringLiteral(":e"), toDayCount(end));
    query.bindValue(QStringLiteral(":u"), userId);
    query.bindValue(QStringLiteral(":c"), connName);
    run(query);
}

} // namespace xr::test
