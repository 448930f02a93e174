#pragma once
// The usage list: the records that its open statement selects, in its order, each with its
// duration text. Opening reads only the row ids, the duration sums and the byte sums; the rows
// themselves are read in small blocks when they are looked at, so that a list of a million
// records opens at once. The statement and its values stay with the list while it is open.
// The list reads this PC's database, or the shared server's records of every PC when it is
// opened on a server connection; there a row is known by the server's RowNo.

#include "browser/DurationSums.h"
#include "browser/TrafficTotal.h"
#include "browser/UsageRecord.h"
#include "store/RecordQuery.h"

#include <unordered_map>
#include <vector>

namespace xr {

class RecordList {
public:
    RecordList() = default;
    // A list of exactly the rows `rowIds` over the connection `db`: what another thread reads
    // through a connection of its own, whatever becomes of the list the ids were taken from.
    RecordList(const QSqlDatabase& db, std::vector<qint64> rowIds);

    // Runs the statement over every row. On a database error (DatabaseError is thrown) the
    // list stays closed.
    void open(const QSqlDatabase& db, RecordQuery query);
    void close();
    bool isOpen() const { return m_open; }

    const RecordQuery& query() const { return m_query; }
    int count() const { return static_cast<int>(m_rowIds.size()); }
    // The listed rows' ids, in the list's order.
    const std::vector<qint64>& rowIds() const { return m_rowIds; }
    const QSqlDatabase& connection() const { return m_db; }
    // Opened on the shared server (rather than this PC's database).
    bool onServer() const { return m_onServer; }
    // Row `row` of the list (0 <= row < count()); empty fields when another hand has deleted
    // it since the list opened. Throws DatabaseError.
    UsageRecord record(int row) const;
    // The duration sums of the listed rows.
    const DurationSums& sums() const { return m_sums; }
    // The bytes the listed rows moved.
    const TrafficTotal& traffic() const { return m_traffic; }

    // Deletes row `row` from the table and returns it; the list keeps it until forgetRecord().
    // On the server its Station and RecordId are kept among the deleted at once, so that no copy
    // brings it back. Throws DatabaseError, leaving the table and the list as they were.
    UsageRecord deleteRecord(int row);
    // Drops row `row`, deleted from the table as `deleted`, from the list and its duration and
    // bytes from the sums.
    void forgetRecord(int row, const UsageRecord& deleted);
    // Gives row `row` to the account `userId` in the table (on the server for good: no copy of
    // its station gives it back); the list keeps the row until it is opened again. Throws
    // DatabaseError.
    void assignRecord(int row, const QString& userId);

private:
    void fetchBlock(int row) const;
    void fetchLocalRows(int first, int last) const;
    void fetchServerRows(int first, int last) const;

    QSqlDatabase m_db;
    bool m_onServer = false;
    bool m_open = false;
    RecordQuery m_query;
    std::vector<qint64> m_rowIds;
    DurationSums m_sums;
    TrafficTotal m_traffic;
    mutable std::unordered_map<qint64, UsageRecord> m_rows; // by row id
};

} // namespace xr
