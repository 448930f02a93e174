#pragma once
// One copy of this PC's records to the shared server: the rows of the local database (the
// journal) still to be copied go up in batches, each written to the server in one transaction
// and marked copied here only once the server has committed it. The server keeps what an
// administrator did there: a record given to a user keeps its owner, a deleted record stays away.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <functional>

namespace xr {

class RecordCopy {
public:
    static constexpr int kBatchRows = 500;

    // `local` this PC's database, `server` an open connection to the shared server, `station`
    // the name given to rows that were recorded before rows had one.
    RecordCopy(QSqlDatabase local, QSqlDatabase server, QString station);

    // Whether any row is still to be copied. Throws DatabaseError.
    bool pending() const;
    // Copies batch after batch until nothing is left or `stopRequested` says so; returns how many
    // rows were copied and marked. Throws DatabaseError: the batch in flight is then neither on
    // the server nor marked, and the next copy sends it again.
    int copyPending(const std::function<bool()>& stopRequested = {});

private:
    struct PendingRow {
        qint64 rowId = 0;
        qint64 revision = 0;
        QVariantList values; // in the order of the server's upsert
    };

    void nameUnnamedRows();
    QList<PendingRow> readBatch() const;
    void upload(const QList<PendingRow>& batch);
    void dropGoneRecords(const QList<qint64>& rowNumbers);
    int markCopied(const QList<PendingRow>& batch);

    QSqlDatabase m_local;
    QSqlDatabase m_server;
    QString m_station;
};

} // namespace xr
