#include "store/DatabaseCheck.h"

#include "store/DatabaseError.h"
#include "store/Identifiers.h"
#include "store/ReadOnlyDatabase.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/Statement.h"

#include <QSqlQuery>
#include <QVariant>

namespace xr {

namespace {

bool passesQuickCheck(const QSqlDatabase& db)
{
    QSqlQuery query = runStatement(db, QStringLiteral("pragma quick_check"), {});
    return query.next() && query.value(0).toString() == QStringLiteral("ok");
}

// Throws DatabaseError when a table or a column is missing.
void requireBothTables(const QSqlDatabase& db)
{
    runStatement(db, QStringLiteral("select RecordId,Sdt,Edt,UserId,ConnName from XRRecord where 0"), {});
    runStatement(db, QStringLiteral("select UserId,UserName,UserPw,Admin,Enabled,Remark from XRUser where 0"),
                 {});
}

bool hasReservedAccounts(const QSqlDatabase& db)
{
    QSqlQuery query = runStatement(
        db,
        QStringLiteral("select count(distinct UserId) from XRUser "
                       "where UserId = :builtIn or UserId = :anonymous"),
        {{QStringLiteral(":builtIn"), kBuiltInUserId}, {QStringLiteral(":anonymous"), kAnonymousUserId}});
    return query.next() && query.value(0).toInt() == 2;
}

} // namespace

DatabaseFileCheck checkDatabaseFile(const QString& fileName)
{
    const ReadOnlyDatabase database(fileName);
    if (!database.isOpen())
        return DatabaseFileCheck::NotOurs;
    const QSqlDatabase db = database.connection();
    try {
        if (!passesQuickCheck(db))
            return DatabaseFileCheck::NotOurs;
        requireBothTables(db);
        if (!hasReservedAccounts(db))
            return DatabaseFileCheck::NotOurs;
        return schemaVersion(db) > kSchemaVersion ? DatabaseFileCheck::Newer : DatabaseFileCheck::Ours;
    } catch (const DatabaseError&) {
        return DatabaseFileCheck::NotOurs; // not SQLite, damaged, or without our tables
    }
}

} // namespace xr
