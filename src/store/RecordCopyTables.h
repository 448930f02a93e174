#pragma once
// The local database is the journal of a shared server: every change of a record's end time,
// bytes, owner or connection raises its Revision, and the copy to the server sets CopiedRevision
// to the revision it copied. A row whose two differ is still to be copied.

#include <QSqlDatabase>
#include <QString>

namespace xr {

// The condition of the rows still to be copied, as the pending index is written.
inline const QString kRecordPending = QStringLiteral("Revision <> CopiedRevision");

// The trigger that raises Revision and the index of the pending rows. Throws DatabaseError.
void createCopyBookkeeping(const QSqlDatabase& db);

} // namespace xr
