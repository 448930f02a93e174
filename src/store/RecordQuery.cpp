#include "store/RecordQuery.h"

#include "store/Statement.h"

namespace xr {

QSqlQuery RecordQuery::run(const QSqlDatabase& db) const
{
    return runStatement(db, m_text, m_values);
}

} // namespace xr
