#pragma once
// The usage list: the records that its open statement selects, every row fetched, each with its
// duration text. The statement and its values stay with the list while it is open.

#include "browser/RecordQuery.h"
#include "browser/UsageRecord.h"

#include <QStringList>

#include <vector>

namespace xr {

class RecordList {
public:
    // Runs the statement and fetches every row. On a database error (DatabaseError is thrown)
    // the list stays closed.
    void open(const QSqlDatabase& db, RecordQuery query);
    void close();
    bool isOpen() const { return m_open; }

    const RecordQuery& query() const { return m_query; }
    const std::vector<UsageRecord>& records() const { return m_records; }
    // The Time text of every row, in list order.
    QStringList timeTexts() const;

private:
    bool m_open = false;
    RecordQuery m_query;
    std::vector<UsageRecord> m_records;
};

} // namespace xr
