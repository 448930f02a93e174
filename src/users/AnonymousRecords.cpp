#include "users/AnonymousRecords.h"

#include "store/Identifiers.h"
#include "store/RecordQuery.h"
#include "store/Statement.h"

namespace xr {

bool listsAnonymousRecords(const RecordQuery& list)
{
    const QString marker = QStringLiteral(":u");
    return list.text().contains(marker) && list.values().value(marker).toString() == kAnonymousUserId;
}

AssignableUsers assignableUsers(const QSqlDatabase& db)
{
    QSqlQuery query =
        runStatement(db, QStringLiteral("select UserName, UserId from XRUser where UserId <> :u"),
                     {{QStringLiteral(":u"), kAnonymousUserId}});
    AssignableUsers users;
    while (query.next()) {
        users.names << query.value(0).toString();
        users.ids << query.value(1).toString();
    }
    return users;
}

QString moveRecordQuestion(const QString& userName)
{
    return QStringLiteral("把该匿名用户的上网记录指定给用户： ") + userName + QStringLiteral(" 吗？");
}

} // namespace xr
