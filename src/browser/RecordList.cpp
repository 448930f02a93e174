#include "browser/RecordList.h"

#include "browser/DurationText.h"
#include "browser/ListRowCursor.h"
#include "browser/ListScan.h"
#include "store/DatabaseError.h"
#include "store/Statement.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace xr {

namespace {

constexpr int kBlockRows = 64;
constexpr std::size_t kKeptRows = 4096;

UsageRecord readRecord(const ListRowCursor& row)
{
    UsageRecord record;
    record.Sdt = row.real(ListRowCursor::Sdt);
    record.Edt = row.real(ListRowCursor::Edt);
    record.UserId = row.text(ListRowCursor::UserId);
    record.ConnName = row.text(ListRowCursor::ConnName);
    record.Time = DurationText(false, record.Sdt, record.Edt);
    record.RecordId = row.text(ListRowCursor::RecordId);
    record.RxBytes = row.optionalInteger(ListRowCursor::RxBytes);
    record.TxBytes = row.optionalInteger(ListRowCursor::TxBytes);
    return record;
}

} // namespace

RecordList::RecordList(const QSqlDatabase& db, std::vector<qint64> rowIds)
    : m_db(db), m_open(true), m_rowIds(std::move(rowIds))
{
}

void RecordList::open(const QSqlDatabase& db, RecordQuery query)
{
    close();
    ListRows rows = scanListRows(db, query);
    m_traffic = TrafficTotal::ofList(db, query);
    m_db = db;
    m_rowIds = std::move(rows.rowIds);
    m_sums = rows.sums;
    m_query = std::move(query);
    m_open = true;
}

void RecordList::close()
{
    m_open = false;
    m_query = RecordQuery();
    m_rowIds = std::vector<qint64>();
    m_sums = DurationSums();
    m_traffic = TrafficTotal();
    m_rows.clear();
}

UsageRecord RecordList::record(int row) const
{
    const qint64 rowId = m_rowIds.at(static_cast<std::size_t>(row));
    if (m_rows.find(rowId) == m_rows.end())
        fetchBlock(row);
    const auto found = m_rows.find(rowId);
    return found == m_rows.end() ? UsageRecord() : found->second;
}

void RecordList::fetchBlock(int row) const
{
    if (m_rows.size() > kKeptRows)
        m_rows.clear();
    const int first = row - row % kBlockRows;
    const int last = std::min(first + kBlockRows, count());
    ListRowCursor cursor(m_db);
    for (int index = first; index < last; ++index) {
        const qint64 rowId = m_rowIds[static_cast<std::size_t>(index)];
        if (cursor.find(rowId))
            m_rows.insert_or_assign(rowId, readRecord(cursor));
    }
}

UsageRecord RecordList::deleteRecord(int row)
{
    const UsageRecord leaving = record(row);
    QSqlQuery query(m_db);
    const QString statement = QStringLiteral("delete from XRRecord where rowid = ?");
    query.prepare(statement);
    query.addBindValue(m_rowIds.at(static_cast<std::size_t>(row)));
    if (!query.exec())
        throw DatabaseError(query.lastError(), statementPurpose(statement));
    return leaving;
}

void RecordList::forgetRecord(int row, const UsageRecord& deleted)
{
    m_rows.erase(m_rowIds.at(static_cast<std::size_t>(row)));
    m_rowIds.erase(m_rowIds.begin() + row);
    m_sums.remove(DurationOf(deleted.Sdt, deleted.Edt));
    m_traffic.remove(deleted);
}

void RecordList::assignRecord(int row, const QString& userId)
{
    QSqlQuery query(m_db);
    const QString statement = QStringLiteral("update XRRecord set UserId = ? where rowid = ?");
    query.prepare(statement);
    query.addBindValue(userId);
    query.addBindValue(m_rowIds.at(static_cast<std::size_t>(row)));
    if (!query.exec())
        throw DatabaseError(query.lastError(), statementPurpose(statement));
    m_rows.erase(m_rowIds[static_cast<std::size_t>(row)]);
}

} // namespace xr
