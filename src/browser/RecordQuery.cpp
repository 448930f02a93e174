#include "browser/RecordQuery.h"

#include "store/DatabaseError.h"

namespace xr {

QSqlQuery RecordQuery::run(const QSqlDatabase& db) const
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(m_text))
        throw DatabaseError(query.lastError());
    for (auto value = m_values.cbegin(); value != m_values.cend(); ++value)
        query.bindValue(value.key(), value.value());
    if (!query.exec())
        throw DatabaseError(query.lastError());
    return query;
}

} // namespace xr
