#pragma once
// The one pass over the usage list's rows when it opens: the row ids in list order and the
// sums of their durations. It steps through SQLite directly, without the Qt driver's copy of
// every value, because a list of years of records holds a million rows and must open at once.

#include "browser/DurationSums.h"
#include "store/RecordQuery.h"

#include <QSqlDatabase>

#include <vector>

namespace xr {

struct ListRows {
    std::vector<qint64> rowIds;
    DurationSums sums;
};

// Runs the list's statement (a "select * from XRRecord ..." of the record queries) for its row
// ids, start and end times. Throws DatabaseError with SQLite's text.
ListRows scanListRows(const QSqlDatabase& db, const RecordQuery& query);

} // namespace xr
