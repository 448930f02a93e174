#pragma once
// Reads rows of the usage list by row id, in the order asked for, through one connection. The
// reads are grouped into short read transactions: one lock serves many rows, and none is held
// long enough to keep the recorder's writes on another connection waiting.

#include "browser/SqliteStatement.h"

#include <QSqlDatabase>

struct sqlite3;

namespace xr {

class ListRowCursor {
public:
    enum Column { Sdt, Edt, UserId, ConnName, RecordId, RxBytes, TxBytes, Station };

    // Throws DatabaseError when the connection is not an open database of ours.
    explicit ListRowCursor(const QSqlDatabase& db);
    ~ListRowCursor();
    ListRowCursor(const ListRowCursor&) = delete;
    ListRowCursor& operator=(const ListRowCursor&) = delete;

    // Moves to the row `rowId`; false when it is no longer there. Throws DatabaseError.
    bool find(qint64 rowId);

    double real(Column column) const { return m_statement.real(column); }
    std::optional<qint64> optionalInteger(Column column) const { return m_statement.optionalInteger(column); }
    QByteArrayView utf8(Column column) const { return m_statement.utf8(column); }
    QString text(Column column) const { return m_statement.text(column); }

private:
    void beginReads();
    void endReads();

    sqlite3* m_connection;
    SqliteStatement m_statement;
    bool m_inOwnTransaction = false;
    int m_readsInTransaction = 0;
};

} // namespace xr
