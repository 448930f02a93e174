#include "store/DayCount.h"

#include "common/DisplayFormats.h"

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

QString dayCountText(double days)
{
    const double whole = std::floor(days);
    qint64 ms = std::llround((days - whole) * kMsPerDay);
    QDate date = kEpoch.addDays(static_cast<qint64>(whole));
    if (ms >= static_cast<qint64>(kMsPerDay)) {
        date = date.addDays(1);
        ms -= static_cast<qint64>(kMsPerDay);
    }
    return date.toString(kShortDateFormat) + QLatin1Char(' ') +
           QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)).toString(kLongTimeFormat);
}

QDateTime fromDayCount(double days)
{
    const double whole = std::floor(days);
    const auto ms = static_cast<int>(std::llround((days - whole) * kMsPerDay));
    return QDateTime(kEpoch.addDays(static_cast<qint64>(whole)), QTime(0, 0)).addMSecs(ms);
}

} // namespace xr
