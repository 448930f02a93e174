#include "browser/TotalTime.h"

#include "browser/DurationText.h"

namespace xr {

namespace {

constexpr int kMinutePrecision = 0;
constexpr int kSecondPrecision = 1;

struct Sums {
    qint64 days = 0;
    qint64 hours = 0;
    qint64 minutes = 0;
    qint64 seconds = 0;
};

Sums sumOf(const QStringList& timeTexts, int precision)
{
    Sums sums;
    for (const QString& text : timeTexts) {
        sums.days += ReadDays(text);
        sums.hours += ReadHours(text);
        sums.minutes += ReadMinutes(text);
        const int seconds = ReadSeconds(text);
        if (precision == kMinutePrecision && seconds > 0)
            ++sums.minutes;
        else if (precision == kSecondPrecision)
            sums.seconds += seconds;
    }
    return sums;
}

void carry(Sums& sums)
{
    sums.minutes += sums.seconds / 60;
    sums.seconds %= 60;
    sums.hours += sums.minutes / 60;
    sums.minutes %= 60;
    sums.days += sums.hours / 24;
    sums.hours %= 24;
}

} // namespace

QString CalcTotalTime(const QStringList& TimeTexts, int Precision)
{
    const bool known = Precision == kMinutePrecision || Precision == kSecondPrecision;
    if (TimeTexts.isEmpty() || !known)
        return kTotalTimeCaption + QLatin1Char('0');
    Sums sums = sumOf(TimeTexts, Precision);
    carry(sums);
    QString text = kTotalTimeCaption + QString::number(sums.days) + QStringLiteral("天") +
                   QString::number(sums.hours) + QStringLiteral("小时") + QString::number(sums.minutes) +
                   QStringLiteral("分");
    if (Precision == kSecondPrecision)
        text += QString::number(sums.seconds) + QStringLiteral("秒");
    return text;
}

} // namespace xr
