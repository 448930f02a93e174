#include "browser/ListRowCursor.h"

#include "store/DatabaseError.h"
#include "store/SqliteHandle.h"

#include <sqlite3.h>

namespace xr {

namespace {

// About a millisecond of reading: a writer on another connection waits no longer than that.
constexpr int kReadsPerTransaction = 1024;

// The handle of an open connection; a closed one is told in the user's words.
sqlite3* openHandle(const QSqlDatabase& db)
{
    if (!db.isOpen())
        throw DatabaseError(QSqlError(), QStringLiteral("读取上网记录"));
    return sqliteHandle(db);
}

void execute(sqlite3* connection, const char* statement)
{
    if (sqlite3_exec(connection, statement, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(connection)));
}

} // namespace

ListRowCursor::ListRowCursor(const QSqlDatabase& db)
    : m_connection(openHandle(db)),
      m_statement(m_connection,
                  QStringLiteral("select Sdt,Edt,UserId,ConnName,RecordId,RxBytes,TxBytes,Station from XRRecord where rowid = ?"))
{
}

ListRowCursor::~ListRowCursor()
{
    m_statement.reset();
    if (m_inOwnTransaction)
        sqlite3_exec(m_connection, "commit", nullptr, nullptr, nullptr);
}

bool ListRowCursor::find(qint64 rowId)
{
    m_statement.reset();
    if (m_readsInTransaction == kReadsPerTransaction)
        endReads();
    if (m_readsInTransaction++ == 0)
        beginReads();
    m_statement.bind(1, rowId);
    return m_statement.step();
}

// A transaction that someone else has opened on the connection is left to them.
void ListRowCursor::beginReads()
{
    if (sqlite3_get_autocommit(m_connection) == 0)
        return;
    execute(m_connection, "begin");
    m_inOwnTransaction = true;
}

void ListRowCursor::endReads()
{
    m_readsInTransaction = 0;
    if (!m_inOwnTransaction)
        return;
    m_inOwnTransaction = false;
    execute(m_connection, "commit");
}

} // namespace xr
