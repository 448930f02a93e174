#include "browser/ListScan.h"

#include "store/DatabaseError.h"
#include "store/SqliteHandle.h"

#include <QVariant>

#include <sqlite3.h>

namespace xr {

namespace {

// A prepared statement, finalized however the pass ends.
class Statement {
public:
    Statement(sqlite3* connection, const QString& text) : m_connection(connection)
    {
        const QByteArray utf8 = text.toUtf8();
        if (sqlite3_prepare_v2(connection, utf8.constData(), static_cast<int>(utf8.size()), &m_statement,
                               nullptr) != SQLITE_OK)
            fail();
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(const QString& marker, const QVariant& value)
    {
        const int index = sqlite3_bind_parameter_index(m_statement, marker.toUtf8().constData());
        if (index == 0)
            return;
        int result = SQLITE_OK;
        if (value.typeId() == QMetaType::Double) {
            result = sqlite3_bind_double(m_statement, index, value.toDouble());
        } else {
            const QByteArray utf8 = value.toString().toUtf8();
            result = sqlite3_bind_text(m_statement, index, utf8.constData(), static_cast<int>(utf8.size()),
                                       SQLITE_TRANSIENT);
        }
        if (result != SQLITE_OK)
            fail();
    }

    // True while a row is there; throws on an error.
    bool step()
    {
        const int result = sqlite3_step(m_statement);
        if (result != SQLITE_ROW && result != SQLITE_DONE)
            fail();
        return result == SQLITE_ROW;
    }

    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    double real(int column) const { return sqlite3_column_double(m_statement, column); }

private:
    [[noreturn]] void fail() const { throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(m_connection))); }

    sqlite3* m_connection;
    sqlite3_stmt* m_statement = nullptr;
};

// The list's statement with only the columns the pass reads.
QString idStatement(const QString& listStatement)
{
    const qsizetype from = listStatement.indexOf(QStringLiteral("from "));
    return QStringLiteral("select rowid,Sdt,Edt ") + listStatement.mid(from < 0 ? 0 : from);
}

} // namespace

ListRows scanListRows(const QSqlDatabase& db, const RecordQuery& query)
{
    Statement statement(sqliteHandle(db), idStatement(query.text()));
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
