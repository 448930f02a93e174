#include "browser/DurationSums.h"

#include "browser/TotalTime.h"

namespace xr {

namespace {

constexpr int kMinutePrecision = 0;
constexpr int kSecondPrecision = 1;

} // namespace

void DurationSums::add(const DurationParts& parts)
{
    ++m_count;
    m_days += parts.days;
    m_hours += parts.hours;
    m_minutes += parts.minutes;
    m_seconds += parts.seconds;
    if (parts.seconds > 0)
        ++m_begunMinutes;
}

void DurationSums::remove(const DurationParts& parts)
{
    --m_count;
    m_days -= parts.days;
    m_hours -= parts.hours;
    m_minutes -= parts.minutes;
    m_seconds -= parts.seconds;
    if (parts.seconds > 0)
        --m_begunMinutes;
}

QString DurationSums::totalText(int Precision) const
{
    const bool known = Precision == kMinutePrecision || Precision == kSecondPrecision;
    if (m_count == 0 || !known)
        return kTotalTimeCaption + QLatin1Char('0');
    qint64 seconds = Precision == kSecondPrecision ? m_seconds : 0;
    qint64 minutes = m_minutes + (Precision == kMinutePrecision ? m_begunMinutes : 0) + seconds / 60;
    seconds %= 60;
    qint64 hours = m_hours + minutes / 60;
    minutes %= 60;
    const qint64 days = m_days + hours / 24;
    hours %= 24;
    QString text = kTotalTimeCaption + QString::number(days) + QStringLiteral("天") + QString::number(hours) +
                   QStringLiteral("小时") + QString::number(minutes) + QStringLiteral("分");
    if (Precision == kSecondPrecision)
        text += QString::number(seconds) + QStringLiteral("秒");
    return text;
}

} // namespace xr
