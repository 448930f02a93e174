#pragma once
// A database file as the installation step leaves it: the tables and the reserved accounts.

#include "store/Schema.h"

#include <QSqlDatabase>
#include <QString>

namespace xr::test {

inline void createInstalledDatabase(const QString& file, const QString& adminPassword = QString())
{
    const QString name = QStringLiteral("installation");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.open();
        createSchema(db, adminPassword);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace xr::test
