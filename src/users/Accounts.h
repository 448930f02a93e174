#pragma once
// The account look-ups of the sign-in. The typed name is bound as a parameter, so that no typed
// text ever becomes part of a statement; the typed password is verified against the stored hash.

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace xr {

struct UserAccount {
    QString UserId;
    QString UserName; // as the database spells it
    bool Admin = false;
    bool Enabled = true;
    bool PwReset = false; // its empty password is to be replaced before it signs in
};

// The accounts with that name (the database's text equality). Throws DatabaseError on failure.
QList<UserAccount> accountsNamed(const QSqlDatabase& db, const QString& name);

// The accounts with that name whose stored hash is that of `password`.
// Throws DatabaseError on failure.
QList<UserAccount> findAccounts(const QSqlDatabase& db, const QString& name, const QString& password);

} // namespace xr
