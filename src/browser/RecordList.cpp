#include "browser/RecordList.h"

#include "browser/DurationText.h"
#include "browser/ListScan.h"
#include "store/DatabaseError.h"
#include "store/Statement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>

namespace xr {

namespace {

constexpr int kBlockRows = 64;
constexpr std::size_t kKeptRows = 4096;

std::optional<qint64> byteCount(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toLongLong();
}

UsageRecord readRecord(const QSqlQuery& query)
{
    UsageRecord record;
    record.Sdt = query.value(1).toDouble();
    record.Edt = query.value(2).toDouble();
    record.UserId = query.value(3).toString();
    record.ConnName = query.value(4).toString();
    record.Time = DurationText(false, record.Sdt, record.Edt);
    record.RecordId = query.value(5).toString();
    record.RxBytes = byteCount(query.value(6));
    record.TxBytes = byteCount(query.value(7));
    return record;
}

// "select ... where rowid in (?,?,...)" for `rows` row ids.
QString blockStatement(int rows)
{
    QStringList markers;
    markers.fill(QStringLiteral("?"), rows);
    return QStringLiteral("select rowid,Sdt,Edt,UserId,ConnName,RecordId,RxBytes,TxBytes from XRRecord where "
                          "rowid in (%1)")
        .arg(markers.join(QLatin1Char(',')));
}

} // namespace

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
    const int rows = std::min(kBlockRows, count() - first);
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    const QString statement = blockStatement(rows);
    if (!query.prepare(statement))
        throw DatabaseError(query.lastError(), statementPurpose(statement));
    for (int i = 0; i < rows; ++i)
        query.addBindValue(m_rowIds[static_cast<std::size_t>(first + i)]);
    if (!query.exec())
        throw DatabaseError(query.lastError(), statementPurpose(statement));
    while (query.next())
        m_rows.insert_or_assign(query.value(0).toLongLong(), readRecord(query));
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
