#include "store/DayCount.h"

#include "common/DecimalText.h"
#include "common/DisplayFormats.h"

#include <algorithm>
#include <cmath>

namespace xr {

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
constexpr qint64 kEpochFrom1970 = -25569; // 1899-12-30 as days since 1970-01-01
constexpr int kMsPerSecond = 1000;

struct Moment {
    qint64 days; // whole days since the epoch
    int seconds; // of the day, cut to whole seconds
};

// The time of day rounded to the millisecond; one that rounds up to midnight is the next day.
Moment momentOf(double days)
{
    const double whole = std::floor(days);
    qint64 ms = std::llround((days - whole) * kMsPerDay);
    auto day = static_cast<qint64>(whole);
    if (ms >= static_cast<qint64>(kMsPerDay)) {
        ++day;
        ms -= static_cast<qint64>(kMsPerDay);
    }
    return {day, static_cast<int>(ms / kMsPerSecond)};
}

struct CivilDate {
    qint64 year;
    int month;
    int day;
};

// The proleptic Gregorian date `days` after 1970-01-01, as QDate counts it for years after 0.
CivilDate civilDate(qint64 days)
{
    const qint64 shifted = days + 719468;
    const qint64 era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const qint64 dayOfEra = shifted - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// The date part of the text, "yyyy-M-d", and its length; room is left for the time of day.
int writeDate(qint64 day, char* out)
{
    constexpr int kTimeRoom = 9; // " H:mm:ss"
    const CivilDate date = civilDate(day + kEpochFrom1970);
    if (date.year < 1 || date.year > 9999) {
        // Far outside any record: QDate's own text, whatever it makes of such a date.
        const QByteArray text =
            kEpoch.addDays(day).toString(kShortDateFormat).toLatin1().left(kDayCountTextRoom - kTimeRoom);
        std::copy(text.begin(), text.end(), out);
        return static_cast<int>(text.size());
    }
    char* end = writeDecimal(out, static_cast<quint64>(date.year), 4);
    *end++ = '-';
    end = writeDecimal(end, static_cast<quint64>(date.month));
    *end++ = '-';
    end = writeDecimal(end, static_cast<quint64>(date.day));
    return static_cast<int>(end - out);
}

} // namespace

double toDayCount(const QDateTime& moment)
{
    const double days = static_cast<double>(kEpoch.daysTo(moment.date()));
    return days + moment.time().msecsSinceStartOfDay() / kMsPerDay;
}

char* DayCountWriter::write(double days, char* out)
{
    const Moment moment = momentOf(days);
    if (m_day != moment.days) {
        m_dateLength = writeDate(moment.days, m_date);
        m_day = moment.days;
    }
    char* end = std::copy(m_date, m_date + m_dateLength, out);
    *end++ = ' ';
    end = writeDecimal(end, static_cast<quint64>(moment.seconds / 3600));
    *end++ = ':';
    end = writeDecimal(end, static_cast<quint64>(moment.seconds / 60 % 60), 2);
    *end++ = ':';
    return writeDecimal(end, static_cast<quint64>(moment.seconds % 60), 2);
}

QString dayCountText(double days)
{
    char text[kDayCountTextRoom];
    return QString::fromLatin1(text, DayCountWriter().write(days, text) - text);
}

QDateTime fromDayCount(double days)
{
    const double whole = std::floor(days);
    const auto ms = static_cast<int>(std::llround((days - whole) * kMsPerDay));
    return QDateTime(kEpoch.addDays(static_cast<qint64>(whole)), QTime(0, 0)).addMSecs(ms);
}

} // namespace xr
