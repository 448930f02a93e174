#pragma once
// The usage list's passes over the shared server. Opening is one statement: the server sums
// each listed record's duration components (rounded exactly as this program rounds them) and
// bytes, and returns the row numbers (RowNo) in the list's order as one array, so that a list of
// a million records costs the server about what its total alone does and the network one value.
// The rows themselves are read in blocks by row number.

#include "browser/DurationSums.h"
#include "browser/TrafficTotal.h"
#include "browser/UsageRecord.h"
#include "store/RecordQuery.h"

#include <QSqlDatabase>

#include <utility>
#include <vector>

namespace xr {

// A connection to the shared server (PostgreSQL) rather than to this PC's database file.
bool isServerConnection(const QSqlDatabase& db);

struct ServerListRows {
    std::vector<qint64> rowNos; // in the list's order
    DurationSums sums;
    TrafficTotal traffic;
};

// Runs the list's statement (a "select * from XRRecord ..." of the record queries) on the
// server. Throws DatabaseError.
ServerListRows scanServerListRows(const QSqlDatabase& db, const RecordQuery& list);

// The statement that only totals the durations of the rows `list` selects, the same way: what
// opening the list is measured against.
RecordQuery serverDurationTotalQuery(const RecordQuery& list);

// The rows numbered `rowNos` that are still there, each with its number, in no given order.
// Throws DatabaseError.
std::vector<std::pair<qint64, UsageRecord>> fetchServerRows(const QSqlDatabase& db,
                                                            const std::vector<qint64>& rowNos);

} // namespace xr
