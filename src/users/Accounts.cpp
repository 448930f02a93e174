#include "users/Accounts.h"

#include "store/Database.h"
#include "store/Statement.h"

#include <QSqlQuery>
#include <QVariant>

namespace xr {

namespace {

// An empty text bound as such, never as NULL.
QString textValue(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

QList<UserAccount> findAccounts(const Database& db, const QString& name, const QString& password)
{
    QSqlQuery query = runStatement(db.connection(),
                                   QStringLiteral("select UserId, UserName, Admin, Enabled from XRUser "
                                                  "where (UserName = :n) and (coalesce(UserPw, '') = :p)"),
                                   {{QStringLiteral(":n"), textValue(name)}, {QStringLiteral(":p"), textValue(password)}});
    QList<UserAccount> accounts;
    while (query.next())
        accounts.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toBool(),
                         query.value(3).toBool()});
    return accounts;
}

QString storedPassword(const Database& db, const QString& name)
{
    QSqlQuery query = runStatement(db.connection(), QStringLiteral("select UserPw from XRUser where UserName = :n"),
                                   {{QStringLiteral(":n"), textValue(name)}});
    return query.next() ? query.value(0).toString() : QString();
}

} // namespace xr
