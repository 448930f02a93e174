#include "store/DayCount.h"

#include <cmath>

namespace xr {

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
} // namespace

double toDayCount(const QDateTime& moment)
{
    const double days = static_cast<double>(kEpoch.daysTo(moment.date()));
    return days + moment.time().msecsSinceStartOfDay() / kMsPerDay;
}

QDateTime fromDayCount(double days)
{
    const double whole = std::floor(days);
    const auto ms = static_cast<int>(std::llround((days - whole) * kMsPerDay));
    return QDateTime(kEpoch.addDays(static_cast<qint64>(whole)), QTime(0, 0)).addMSecs(ms);
}

} // namespace xr
