#include "users/Accounts.h"

#include "store/PasswordHash.h"
#include "store/Statement.h"

#include <QSqlQuery>
#include <QVariant>

namespace xr {

namespace {

struct StoredAccount {
    UserAccount account;
    QString passwordHash;
};

// An empty text bound as such, never as NULL.
QString textValue(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QList<StoredAccount> storedAccounts(const QSqlDatabase& db, const QString& name)
{
    QSqlQuery query = runStatement(db,
                                   QStringLiteral("select UserId, UserName, Admin, Enabled, PwReset, UserPw "
                                                  "from XRUser where UserName = :n"),
                                   {{QStringLiteral(":n"), textValue(name)}});
    QList<StoredAccount> accounts;
    while (query.next())
        accounts.append({{query.value(0).toString(), query.value(1).toString(), query.value(2).toBool(),
                          query.value(3).toBool(), query.value(4).toBool()},
                         query.value(5).toString()});
    return accounts;
}

} // namespace

QList<UserAccount> accountsNamed(const QSqlDatabase& db, const QString& name)
{
    QList<UserAccount> accounts;
    for (const StoredAccount& stored : storedAccounts(db, name))
        accounts.append(stored.account);
    return accounts;
}

QList<UserAccount> findAccounts(const QSqlDatabase& db, const QString& name, const QString& password)
{
    QList<UserAccount> accounts;
    for (const StoredAccount& stored : storedAccounts(db, name))
        if (passwordMatches(stored.passwordHash, password))
            accounts.append(stored.account);
    return accounts;
}

} // namespace xr
