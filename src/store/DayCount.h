#pragma once
// Date-times as stored and bound: days since 1899-12-30 (local time), the time of day as the
// fraction.

#include <QDateTime>

namespace xr {

double toDayCount(const QDateTime& moment);
QDateTime fromDayCount(double days);
// The short date and long time text of a day count, as dateTimeText writes it, read without a
// time zone (a local QDateTime looks the zone up each time; a long printed list has millions).
QString dayCountText(double days);

} // namespace xr
