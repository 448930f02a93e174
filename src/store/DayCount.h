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

// Room enough for the characters of any dayCountText.
inline constexpr int kDayCountTextRoom = 32;
// The same text as Latin-1 characters written to `out`, which has kDayCountTextRoom of room;
// returns how many were written. For writing millions of them without a QString each.
int writeDayCountText(double days, char* out);

} // namespace xr
