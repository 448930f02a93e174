#pragma once
// The statements that open the usage list: the default list and the list built from the query
// panel. Building one may throw DateConversionError (a custom period that is not two dates);
// the list stays closed then.

#include "browser/RecordFilter.h"
#include "common/CurrentConnection.h"
#include "common/Settings.h"
#include "store/RecordQuery.h"

#include <QDateTime>

namespace xr {

// Resets the panel for the default list: both pickers on `today`, the period condition on,
// period DefaultTime, the signed-in user's name, DefaultConnName and "所有电脑" chosen where
// listed.
void resetToDefaults(RecordFilter& filter, const TSettings& settings, const TConnection& user,
                     const QDate& today);

// The default list: the signed-in user's own records (also for an administrator) in period
// DefaultTime, of the chosen connection unless that is "所有连接".
RecordQuery defaultRecordsQuery(const RecordFilter& filter, int DefaultTime, const TConnection& user,
                                const QDateTime& now);

// The list the "查找" button opens: user, connection, station and time conditions from the
// panel (no station condition while the panel has no station list, or "所有电脑" is chosen).
RecordQuery findRecordsQuery(const RecordFilter& filter, const TConnection& user, const QDateTime& now);

// "from XRRecord where ..." of the list's statement, without its order: the rows it lists, for a
// statement of another kind over them.
QString listedRows(const QString& listStatement);

// The statement that deletes exactly the rows of the open list: "delete from XRRecord " and the
// list statement's conditions (from its "where" up to its "order"), with the values the list
// was opened with for the markers it keeps.
RecordQuery deleteAllQuery(const RecordQuery& list);

// A "delete from XRRecord ..." of the shared server made into one statement that also keeps the
// Station and RecordId of every deleted row in XRRecordGone, so that no station's later copy
// brings the rows back.
RecordQuery withTombstones(const RecordQuery& deletion);

} // namespace xr
