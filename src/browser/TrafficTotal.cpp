#include "browser/TrafficTotal.h"

#include "browser/ByteCountText.h"
#include "browser/RecordQueries.h"

namespace xr {

namespace {

// Shorter than the time total's caption: the counter and both totals share one line.
const QString kCaption = QStringLiteral("流量： ");

// The list's statement, "select * from XRRecord where ... order by ...", summing its rows.
QString sumStatement(const QString& listStatement)
{
    return QStringLiteral("select count(*), coalesce(sum(RxBytes), 0), coalesce(sum(TxBytes), 0) ") +
           listedRows(listStatement);
}

} // namespace

TrafficTotal TrafficTotal::ofList(const QSqlDatabase& db, const RecordQuery& list)
{
    RecordQuery sums(sumStatement(list.text()));
    for (auto value = list.values().cbegin(); value != list.values().cend(); ++value)
        sums.bind(value.key(), value.value());
    QSqlQuery query = sums.run(db);
    TrafficTotal total;
    if (query.next()) {
        total.m_records = query.value(0).toLongLong();
        total.m_received = query.value(1).toLongLong();
        total.m_sent = query.value(2).toLongLong();
    }
    return total;
}

void TrafficTotal::remove(const UsageRecord& record)
{
    --m_records;
    m_received -= record.RxBytes.value_or(0);
    m_sent -= record.TxBytes.value_or(0);
}

QString TrafficTotal::text() const
{
    if (m_records <= 0)
        return kCaption + QLatin1Char('0');
    return kCaption + QStringLiteral("接收 ") + byteCountText(m_received) + QStringLiteral(" 发送 ") +
           byteCountText(m_sent);
}

} // namespace xr
