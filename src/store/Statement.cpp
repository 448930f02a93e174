#include "store/Statement.h"

#include "store/DatabaseError.h"

namespace xr {

QSqlQuery runStatement(const QSqlDatabase& db, const QString& text, const QMap<QString, QVariant>& values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(text))
        throw DatabaseError(query.lastError());
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        query.bindValue(value.key(), value.value());
    if (!query.exec())
        throw DatabaseError(query.lastError());
    return query;
}

} // namespace xr
