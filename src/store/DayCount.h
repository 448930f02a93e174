#pragma once
// Date-times as stored and bound: days since 1899-12-30 (local time), the time of day as the
// fraction.

#include <QDateTime>

#include <optional>

namespace xr {

double toDayCount(const QDateTime& moment);
QDateTime fromDayCount(double days);
// The short date and long time text of a day count, as dateTimeText writes it, read without a
// time zone (a local QDateTime looks the zone up each time; a long printed list has millions).
QString dayCountText(double days);

// Room enough for the characters of any dayCountText.
inline constexpr int kDayCountTextRoom = 32;

// Writes dayCountText's characters (Latin-1) without a QString each, for the millions of an
// exported list. It keeps the date of the day it wrote last: a list runs in time order, and most
// of its rows share their date with the row before.
class DayCountWriter {
public:
    // Writes to `out`, which has kDayCountTextRoom of room, and returns the end of the text.
    char* write(double days, char* out);

private:
    std::optional<qint64> m_day; // of the date kept
    char m_date[kDayCountTextRoom];
    int m_dateLength = 0;
};

} // namespace xr
