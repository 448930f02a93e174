#pragma once
// The running sums of the duration components of a list's records, from which the total online
// time is written in either precision without reading the list again.

#include "browser/DurationText.h"

#include <QString>

namespace xr {

class DurationSums {
public:
    DurationSums() = default;
    // Sums made elsewhere (by the shared server) from `count` records' components, of which
    // `begunMinutes` had seconds beyond their whole minutes.
    DurationSums(qint64 count, qint64 days, qint64 hours, qint64 minutes, qint64 seconds, qint64 begunMinutes)
        : m_count(count), m_days(days), m_hours(hours), m_minutes(minutes), m_seconds(seconds),
          m_begunMinutes(begunMinutes)
    {
    }

    void add(const DurationParts& parts);
    // A record that has left the list.
    void remove(const DurationParts& parts);
    qint64 count() const { return m_count; }

    // The total label's text. Precision 0 counts every begun minute of each record as a whole
    // minute; 1 counts seconds; any other value, and an empty list, give "累计上网时间： 0".
    QString totalText(int Precision) const;

private:
    qint64 m_count = 0;
    qint64 m_days = 0;
    qint64 m_hours = 0;
    qint64 m_minutes = 0;
    qint64 m_seconds = 0;
    qint64 m_begunMinutes = 0; // records with seconds beyond their whole minutes
};

} // namespace xr
