#pragma once
// Date-times as stored and bound: days since 1899-12-30 (local time), the time of day as the
// fraction.

#include <QDateTime>

namespace xr {

double toDayCount(const QDateTime& moment);
QDateTime fromDayCount(double days);

} // namespace xr
