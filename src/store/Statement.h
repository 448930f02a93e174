#pragma once
// Runs one statement with named values: prepare, bind, execute.

#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace xr {

// What a statement does, in the user's words, for its error text: "添加上网记录", "修改用户".
QString statementPurpose(const QString& statement);

// Throws DatabaseError with the database's own text when the statement fails (or with what
// failed, when the database gives no text). The result is read forwards only.
QSqlQuery runStatement(const QSqlDatabase& db, const QString& text, const QMap<QString, QVariant>& values);

} // namespace xr
