#include "store/AccountCache.h"

#include "store/DatabaseError.h"
#include "store/Statement.h"
#include "store/Transaction.h"

#include <QList>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace xr {

namespace {

struct CachedTable {
    QString name;
    QStringList columns;
};

const QList<CachedTable>& cachedTables()
{
    static const QList<CachedTable> tables{
        {QStringLiteral("XRUser"),
         {QStringLiteral("UserId"), QStringLiteral("UserName"), QStringLiteral("UserPw"),
          QStringLiteral("Admin"), QStringLiteral("Enabled"), QStringLiteral("Remark"),
          QStringLiteral("PwReset")}},
        {QStringLiteral("XRAllowance"),
         {QStringLiteral("UserId"), QStringLiteral("DayMinutes"), QStringLiteral("WeekMinutes"),
          QStringLiteral("MonthMinutes")}},
        {QStringLiteral("XRGrant"),
         {QStringLiteral("UserId"), QStringLiteral("Granted"), QStringLiteral("Minutes"),
          QStringLiteral("ByUserId")}},
    };
    return tables;
}

using Rows = QList<QVariantList>;

Rows readRows(const QSqlDatabase& db, const CachedTable& table)
{
    QSqlQuery query = runStatement(
        db, QStringLiteral("select %1 from %2").arg(table.columns.join(QLatin1Char(',')), table.name), {});
    Rows rows;
    while (query.next()) {
        QVariantList row;
        for (int column = 0; column < table.columns.size(); ++column) // a NULL stays one
            row.append(query.isNull(column) ? QVariant() : query.value(column));
        rows.append(row);
    }
    return rows;
}

// The rows as text, in one order: the two databases give numbers in types of their own and
// rows in orders of their own.
QList<QStringList> comparable(const Rows& rows)
{
    QList<QStringList> texts;
    for (const QVariantList& row : rows) {
        QStringList text;
        for (const QVariant& value : row)
            text.append(value.isNull() ? QStringLiteral("\x01null") : value.toString());
        texts.append(text);
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

void replaceRows(const QSqlDatabase& local, const CachedTable& table, const Rows& rows)
{
    runStatement(local, QStringLiteral("delete from ") + table.name, {});
    QStringList marks;
    for (int column = 0; column < table.columns.size(); ++column)
        marks.append(QStringLiteral("?"));
    QSqlQuery insert(local);
    const QString statement =
        QStringLiteral("insert into %1 (%2) values (%3)")
            .arg(table.name, table.columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    if (!insert.prepare(statement))
        throw DatabaseError(insert.lastError(), statementPurpose(statement));
    for (const QVariantList& row : rows) {
        for (int column = 0; column < row.size(); ++column)
            insert.bindValue(column, row[column]);
        if (!insert.exec())
            throw DatabaseError(insert.lastError(), statementPurpose(statement));
    }
}

} // namespace

void cacheServerAccounts(const QSqlDatabase& server, const QSqlDatabase& local)
{
    QList<Rows> serverRows;
    bool same = true;
    for (const CachedTable& table : cachedTables()) {
        serverRows.append(readRows(server, table));
        same = same && comparable(serverRows.last()) == comparable(readRows(local, table));
    }
    if (same)
        return; // nothing written: the file is not touched every half minute
    runInTransaction(local, QStringLiteral("保存服务器的用户"), [&] {
        for (qsizetype table = 0; table < cachedTables().size(); ++table)
            replaceRows(local, cachedTables()[table], serverRows[table]);
    });
}

} // namespace xr
