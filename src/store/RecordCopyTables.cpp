#include "store/RecordCopyTables.h"

#include "store/Statement.h"

namespace xr {

void createCopyBookkeeping(const QSqlDatabase& db)
{
    // The copy itself writes only CopiedRevision, so it never raises a revision.
    runStatement(db,
                 QStringLiteral("create trigger XRRecordRevised after update of Edt, RxBytes, TxBytes, UserId, "
                                "ConnName, Station on XRRecord when new.Revision = old.Revision begin "
                                "update XRRecord set Revision = old.Revision + 1 where rowid = new.rowid; end"),
                 {});
    runStatement(db, QStringLiteral("create index XRRecordPending on XRRecord (Revision) where ") + kRecordPending,
                 {});
}

} // namespace xr
