#pragma once
// Runs one statement with named values: prepare, bind, execute.

#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace xr {

// Throws DatabaseError with the database's own text when the statement fails. The result is
// read forwards only.
QSqlQuery runStatement(const QSqlDatabase& db, const QString& text, const QMap<QString, QVariant>& values);

} // namespace xr
