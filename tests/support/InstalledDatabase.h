#pragma once
// A database file as the installation step leaves it: the tables and the reserved accounts;
// and accounts added as the program keeps them. Passwords are hashed at the minimum cost, so
// that tests make many accounts quickly; the program verifies such hashes like any other.

#include "store/PasswordHash.h"
#include "store/Schema.h"

#include <QFile>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

namespace xr::test {

inline void createInstalledDatabase(const QString& file, const QString& adminPassword = QString(),
                                    AdminPassword admin = AdminPassword::Kept)
{
    const QString name = QStringLiteral("installation");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.open();
        createSchema(db, adminPassword, admin, HashCost::Minimum);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

struct TestAccount {
    QString id;
    QString name;
    QString password{};
    bool admin = false;
    bool enabled = true;
};

// Adds the account with the hash of its password; true when the row was written.
inline bool addAccount(const QSqlDatabase& db, const TestAccount& account)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark) "
                                 "values (:i,:n,:p,:a,:e,'')"));
    query.bindValue(QStringLiteral(":i"), account.id);
    query.bindValue(QStringLiteral(":n"), account.name);
    query.bindValue(QStringLiteral(":p"), hashPassword(account.password, HashCost::Minimum));
    query.bindValue(QStringLiteral(":a"), account.admin ? 1 : 0);
    query.bindValue(QStringLiteral(":e"), account.enabled ? 1 : 0);
    return query.exec();
}

// A database as the installation step of the first schema version left it, passwords as plain
// text: the reserved accounts with empty ones, then `accounts` with theirs (a null one is
// stored as NULL, as such files may hold).
inline void createVersionOneDatabase(const QString& file, const QList<TestAccount>& accounts)
{
    const QString name = QStringLiteral("version-one");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.open();
        QSqlQuery query(db);
        for (const char* statement :
             {"create table XRRecord (RecordId text, Sdt real, Edt real, UserId text, ConnName text)",
              "create index XRRecordSdt on XRRecord (Sdt)",
              "create table XRUser (UserId text not null, UserName text, UserPw text, Admin integer not null "
              "default 0, Enabled integer not null default 1, Remark text)",
              "create table SchemaVersion (Version integer not null)", "insert into SchemaVersion values (1)",
              "insert into XRUser values ('000000000000000001', 'admin', '', 1, 1, '')",
              "insert into XRUser values ('000000000000000002', '匿名用户', '', 0, 1, '')"})
            query.exec(QString::fromUtf8(statement));
        query.prepare(QStringLiteral("insert into XRUser values (:i, :n, :p, :a, :e, '')"));
        for (const TestAccount& account : accounts) {
            query.bindValue(QStringLiteral(":i"), account.id);
            query.bindValue(QStringLiteral(":n"), account.name);
            query.bindValue(QStringLiteral(":p"), account.password);
            query.bindValue(QStringLiteral(":a"), account.admin ? 1 : 0);
            query.bindValue(QStringLiteral(":e"), account.enabled ? 1 : 0);
            query.exec();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// Whether the bytes of `file` hold `text` (as SQLite stores it, in UTF-8) anywhere.
inline bool fileHoldsText(const QString& file, const QString& text)
{
    QFile content(file);
    return content.open(QIODevice::ReadOnly) && content.readAll().contains(text.toUtf8());
}

} // namespace xr::test
