#include "store/RecordCopy.h"

#include "store/DatabaseError.h"
#include "store/RecordCopyTables.h"
#include "store/Statement.h"
#include "store/Transaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace xr {

namespace {

const QString kCopyOperation = QStringLiteral("复制上网记录到服务器");

// The record goes in unless the server deleted it; when the server has it, the station's end
// time and bytes only ever move it forward (a copy that arrives late changes nothing), and its
// owner follows the station only until an administrator gave it to somebody.
const QString kUpsert = QStringLiteral(
    "insert into XRRecord (Station, RecordId, Sdt, Edt, UserId, ConnName, RxBytes, TxBytes) "
    "select v.* from (values (cast(:p as text), cast(:i as text), cast(:s as double precision), "
    "cast(:e as double precision), cast(:u as text), cast(:c as text), cast(:rx as bigint), "
    "cast(:tx as bigint))) as v (Station, RecordId, Sdt, Edt, UserId, ConnName, RxBytes, TxBytes) "
    "where not exists (select 1 from XRRecordGone g where g.Station = v.Station and g.RecordId = v.RecordId) "
    "on conflict (Station, RecordId) do update set "
    "Edt = greatest(XRRecord.Edt, excluded.Edt), "
    "RxBytes = greatest(XRRecord.RxBytes, excluded.RxBytes), "
    "TxBytes = greatest(XRRecord.TxBytes, excluded.TxBytes), "
    "ConnName = excluded.ConnName, "
    "UserId = case when XRRecord.Assigned = 0 then excluded.UserId else XRRecord.UserId end "
    "returning RowNo");

const QStringList kUpsertNames{QStringLiteral(":p"),  QStringLiteral(":i"), QStringLiteral(":s"),
                               QStringLiteral(":e"),  QStringLiteral(":u"), QStringLiteral(":c"),
                               QStringLiteral(":rx"), QStringLiteral(":tx")};

} // namespace

RecordCopy::RecordCopy(QSqlDatabase local, QSqlDatabase server, QString station)
    : m_local(std::move(local)), m_server(std::move(server)), m_station(std::move(station))
{
}

bool RecordCopy::pending() const
{
    QSqlQuery query = runStatement(
        m_local,
        QStringLiteral("select 1 from XRRecord where ") + kRecordPending + QStringLiteral(" limit 1"), {});
    return query.next();
}

int RecordCopy::copyPending(const std::function<bool()>& stopRequested)
{
    nameUnnamedRows();
    int copied = 0;
    while (!stopRequested || !stopRequested()) {
        const QList<PendingRow> batch = readBatch();
        if (batch.isEmpty())
            break;
        upload(batch);
        const int marked = markCopied(batch);
        copied += marked;
        // A short batch was the last; a batch of which nothing could be marked changes meanwhile
        // and waits for the next copy.
        if (batch.size() < kBatchRows || marked == 0)
            break;
    }
    return copied;
}

// Rows of a database older than the station names take this PC's name.
void RecordCopy::nameUnnamedRows()
{
    runStatement(m_local,
                 QStringLiteral("update XRRecord set Station = :p where Station is null and ") +
                     kRecordPending,
                 {{QStringLiteral(":p"), m_station}});
}

// Read whole before anything is written, so that the local read lock is held only as long as
// the reading takes.
QList<RecordCopy::PendingRow> RecordCopy::readBatch() const
{
    QSqlQuery query = runStatement(
        m_local,
        QStringLiteral(
            "select rowid, Revision, Station, RecordId, Sdt, Edt, UserId, ConnName, RxBytes, TxBytes "
            "from XRRecord where ") +
            kRecordPending + QStringLiteral(" limit %1").arg(kBatchRows),
        {});
    QList<PendingRow> batch;
    while (query.next()) {
        PendingRow row{query.value(0).toLongLong(), query.value(1).toLongLong(), {}};
        for (int column = 2; column < 10; ++column) // a NULL stays one: Qt gives it as a typed value
            row.values.append(query.isNull(column) ? QVariant() : query.value(column));
        batch.append(std::move(row));
    }
    return batch;
}

void RecordCopy::upload(const QList<PendingRow>& batch)
{
    runInTransaction(m_server, kCopyOperation, [&] {
        QSqlQuery upsert(m_server);
        if (!upsert.prepare(kUpsert))
            throw DatabaseError(upsert.lastError(), kCopyOperation);
        QList<qint64> rowNumbers;
        for (const PendingRow& row : batch) {
            for (int value = 0; value < kUpsertNames.size(); ++value)
                upsert.bindValue(kUpsertNames[value], row.values[value]);
            if (!upsert.exec())
                throw DatabaseError(upsert.lastError(), kCopyOperation);
            if (upsert.next())
                rowNumbers.append(upsert.value(0).toLongLong());
        }
        dropGoneRecords(rowNumbers);
    });
}

// A record deleted on the server while this copy waited for its row comes in again as new: the
// deletion's mark, visible now, takes it out again before anything is committed.
void RecordCopy::dropGoneRecords(const QList<qint64>& rowNumbers)
{
    if (rowNumbers.isEmpty())
        return;
    QStringList numbers;
    for (const qint64 number : rowNumbers)
        numbers.append(QString::number(number));
    runStatement(m_server,
                 QStringLiteral("delete from XRRecord r using XRRecordGone g where g.Station = r.Station and "
                                "g.RecordId = r.RecordId and r.RowNo in (%1)")
                     .arg(numbers.join(QLatin1Char(','))),
                 {});
}

// A row that changed since it was read keeps its new revision and stays to be copied.
int RecordCopy::markCopied(const QList<PendingRow>& batch)
{
    int marked = 0;
    runInTransaction(m_local, kCopyOperation, [&] {
        QSqlQuery mark(m_local);
        if (!mark.prepare(QStringLiteral(
                "update XRRecord set CopiedRevision = :r where rowid = :id and Revision = :r")))
            throw DatabaseError(mark.lastError(), kCopyOperation);
        for (const PendingRow& row : batch) {
            mark.bindValue(QStringLiteral(":r"), row.revision);
            mark.bindValue(QStringLiteral(":id"), row.rowId);
            if (!mark.exec())
                throw DatabaseError(mark.lastError(), kCopyOperation);
            marked += mark.numRowsAffected();
        }
    });
    return marked;
}

} // namespace xr
