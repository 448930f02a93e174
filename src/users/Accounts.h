#pragma once
// The account look-ups of the sign-in. The typed name and password are bound as parameters,
// so that no typed text ever becomes part of a statement.

#include <QList>
#include <QString>

namespace xr {

class Database;

struct UserAccount {
    QString UserId;
    QString UserName; // as the database spells it
    bool Admin = false;
    bool Enabled = true;
};

// The accounts whose name and password equal the given texts (the database's text equality).
// A password stored as NULL is the empty password of a new account.
// Throws DatabaseError on failure.
QList<UserAccount> findAccounts(const Database& db, const QString& name, const QString& password);

// The stored password of the first account with that name; empty when there is none.
// Throws DatabaseError on failure.
QString storedPassword(const Database& db, const QString& name);

} // namespace xr
