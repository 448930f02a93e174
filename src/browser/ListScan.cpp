#include "browser/ListScan.h"

#include "browser/SqliteStatement.h"
#include "store/SqliteHandle.h"

namespace xr {

namespace {

// The list's statement with only the columns the pass reads.
QString idStatement(const QString& listStatement)
{
    const qsizetype from = listStatement.indexOf(QStringLiteral("from "));
    return QStringLiteral("select rowid,Sdt,Edt ") + listStatement.mid(from < 0 ? 0 : from);
}

} // namespace

ListRows scanListRows(const QSqlDatabase& db, const RecordQuery& query)
{
    SqliteStatement statement(sqliteHandle(db), idStatement(query.text()));
    for (auto value = query.values().cbegin(); value != query.values().cend(); ++value)
        statement.bind(value.key(), value.value());
    ListRows rows;
    while (statement.step()) {
        rows.rowIds.push_back(statement.integer(0));
        rows.sums.add(DurationOf(statement.real(1), statement.real(2)));
    }
    return rows;
}

} // namespace xr
