#include "store/DatabaseCheck.h"

#include "store/DatabaseError.h"
#include "store/Identifiers.h"
#include "store/ReadOnlyDatabase.h"
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

bool isProgramDatabase(const QString& fileName)
{
    const ReadOnlyDatabase database(fileName);
    if (!database.isOpen())
        return false;
    const QSqlDatabase db = database.connection();
    try {
        if (!passesQuickCheck(db))
            return false;
        requireBothTables(db);
        return hasReservedAccounts(db);
    } catch (const DatabaseError&) {
        return false; // not SQLite, damaged, or without our tables
    }
}

} // namespace xr
