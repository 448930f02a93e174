#include "browser/RecordList.h"

#include "browser/DurationText.h"
#include "browser/ListRowCursor.h"
#include "browser/ListScan.h"
#include "browser/RecordQueries.h"
#include "browser/ServerListRows.h"

#include <algorithm>

namespace xr {

namespace {

constexpr int kBlockRows = 64;
// A round trip to the server costs more than a look-up in the PC's own file: more rows a trip.
constexpr int kServerBlockRows = 512;
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
    record.Station = row.text(ListRowCursor::Station);
    return record;
}

} // namespace

RecordList::RecordList(const QSqlDatabase& db, std::vector<qint64> rowIds)
    : m_db(db), m_onServer(isServerConnection(db)), m_open(true), m_rowIds(std::move(rowIds))
{
}

void RecordList::open(const QSqlDatabase& db, RecordQuery query)
{
    close();
    const bool onServer = isServerConnection(db);
    if (onServer) {
        ServerListRows rows = scanServerListRows(db, query);
        m_rowIds = std::move(rows.rowNos);
        m_sums = rows.sums;
        m_traffic = rows.traffic;
    } else {
        ListRows rows = scanListRows(db, query);
        m_traffic = TrafficTotal::ofList(db, query);
        m_rowIds = std::move(rows.rowIds);
        m_sums = rows.sums;
    }
    m_db = db;
    m_onServer = onServer;
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
    const int block = m_onServer ? kServerBlockRows : kBlockRows;
    const int first = row - row % block;
    const int last = std::min(first + block, count());
    if (m_onServer)
        fetchServerRows(first, last);
    else
        fetchLocalRows(first, last);
}

void RecordList::fetchLocalRows(int first, int last) const
{
    ListRowCursor cursor(m_db);
    for (int index = first; index < last; ++index) {
        const qint64 rowId = m_rowIds[static_cast<std::size_t>(index)];
        if (cursor.find(rowId))
            m_rows.insert_or_assign(rowId, readRecord(cursor));
    }
}

void RecordList::fetchServerRows(int first, int last) const
{
    const std::vector<qint64> rowNos(m_rowIds.begin() + first, m_rowIds.begin() + last);
    for (auto& [rowNo, record] : xr::fetchServerRows(m_db, rowNos))
        m_rows.insert_or_assign(rowNo, std::move(record));
}

UsageRecord RecordList::deleteRecord(int row)
{
    const UsageRecord leaving = record(row);
    RecordQuery deletion(m_onServer ? QStringLiteral("delete from XRRecord where RowNo = :r")
                                    : QStringLiteral("delete from XRRecord where rowid = :r"));
    deletion.bind(QStringLiteral(":r"), m_rowIds.at(static_cast<std::size_t>(row)));
    (m_onServer ? withTombstones(deletion) : deletion).run(m_db);
    return leaving;
}

void RecordList::forgetRecord(int row, const UsageRecord& deleted)
{
    m_rows.erase(m_rowIds.at(static_cast<std::size_t>(row)));
    m_rowIds.erase(m_rowIds.begin() + row);
    m_sums.remove(DurationOf(deleted.Sdt, deleted.Edt));
    m_traffic.remove(deleted);
}

// On the server, Assigned keeps the station's later copies from giving the record back.
void RecordList::assignRecord(int row, const QString& userId)
{
    RecordQuery assignment(
        m_onServer ? QStringLiteral("update XRRecord set UserId = :u, Assigned = 1 where RowNo = :r")
                   : QStringLiteral("update XRRecord set UserId = :u where rowid = :r"));
    assignment.bind(QStringLiteral(":u"), userId);
    assignment.bind(QStringLiteral(":r"), m_rowIds.at(static_cast<std::size_t>(row)));
    assignment.run(m_db);
    m_rows.erase(m_rowIds[static_cast<std::size_t>(row)]);
}

} // namespace xr
