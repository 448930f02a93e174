#pragma once
// The options dialog's period list: "本周" and "本月" at positions 0 and 1, then the custom
// periods ("first*last") in the order they were added, and the working default position that
// OK stores as DefaultTime.

#include <QDate>
#include <QString>
#include <QStringList>

namespace xr {

class TimePeriodList {
public:
    // `entries` as the period list reads them; `defaultPosition` may lie outside the list.
    TimePeriodList(QStringList entries, int defaultPosition);

    const QStringList& entries() const { return m_entries; }
    int defaultPosition() const { return m_default; }
    // The text of the default entry; empty when the position lies outside the list.
    QString defaultText() const { return m_entries.value(m_default); }
    // The custom periods: the entries from position 2 on.
    QStringList customPeriods() const { return m_entries.mid(2); }

    // Appends `period`; false, with nothing added, when an entry has exactly this text.
    bool add(const QString& period);
    // Deletes the entry at `selected` unless it is one of the two fixed ones (or none, -1);
    // the default stays on its text, or falls back to position 0 when that text has gone.
    // Returns the position to select afterwards (`selected` when nothing was deleted).
    int remove(int selected);
    // The entry at `selected` becomes the default (nothing when no entry is selected).
    void setDefault(int selected);

private:
    QStringList m_entries;
    int m_default;
};

// "first*last" of two dates in the short date format.
QString periodText(const QDate& first, const QDate& last);

} // namespace xr
