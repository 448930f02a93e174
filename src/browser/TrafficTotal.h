#pragma once
// The bytes that the listed records moved, received and sent, shown beside the total online
// time. Records whose connection gave no counters add nothing.

#include "browser/UsageRecord.h"
#include "store/RecordQuery.h"

#include <QSqlDatabase>
#include <QString>

namespace xr {

class TrafficTotal {
public:
    TrafficTotal() = default;
    TrafficTotal(qint64 records, qint64 received, qint64 sent)
        : m_records(records), m_received(received), m_sent(sent)
    {
    }

    // Sums the rows the list's statement selects. Throws DatabaseError.
    static TrafficTotal ofList(const QSqlDatabase& db, const RecordQuery& list);

    // A record that has left the list.
    void remove(const UsageRecord& record);
    qint64 received() const { return m_received; }
    qint64 sent() const { return m_sent; }

    // "流量： 接收 1.2 GB 发送 345.6 MB"; "流量： 0" for an empty list.
    QString text() const;

private:
    qint64 m_records = 0;
    qint64 m_received = 0;
    qint64 m_sent = 0;
};

} // namespace xr
