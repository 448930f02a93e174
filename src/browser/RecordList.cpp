#include "browser/RecordList.h"

#include "browser/DurationText.h"
#include "store/DatabaseError.h"

#include <QSqlError>
#include <QSqlRecord>

namespace xr {

namespace {

UsageRecord readRecord(const QSqlQuery& query)
{
    const QSqlRecord fields = query.record();
    UsageRecord record;
    record.Sdt = fields.value(QStringLiteral("Sdt")).toDouble();
    record.Edt = fields.value(QStringLiteral("Edt")).toDouble();
    record.UserId = fields.value(QStringLiteral("UserId")).toString();
    record.ConnName = fields.value(QStringLiteral("ConnName")).toString();
    record.Time = DurationText(false, record.Sdt, record.Edt);
    record.RecordId = fields.value(QStringLiteral("RecordId")).toString();
    return record;
}

} // namespace

void RecordList::open(const QSqlDatabase& db, RecordQuery query)
{
    close();
    QSqlQuery rows = query.run(db);
    while (rows.next())
        m_records.push_back(readRecord(rows));
    if (rows.lastError().isValid()) {
        close();
        throw DatabaseError(rows.lastError());
    }
    m_query = std::move(query);
    m_open = true;
}

void RecordList::close()
{
    m_open = false;
    m_query = RecordQuery();
    m_records.clear();
}

QStringList RecordList::timeTexts() const
{
    QStringList texts;
    for (const UsageRecord& record : m_records)
        texts.append(record.Time);
    return texts;
}

} // namespace xr
