#pragma once
// What a test reads back from a database: the first column of every row a statement gives.

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace xr::test {

// The first column of every row of `statement` on `db`, as text; a statement that fails fails the
// test.
inline QStringList firstColumn(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
    QStringList texts;
    while (query.next())
        texts << query.value(0).toString();
    return texts;
}

} // namespace xr::test
