#include "browser/TotalTime.h"

#include "browser/DurationSums.h"

namespace xr {

QString CalcTotalTime(const QStringList& TimeTexts, int Precision)
{
    DurationSums sums;
    for (const QString& text : TimeTexts)
        sums.add({ReadDays(text), ReadHours(text), ReadMinutes(text), ReadSeconds(text)});
    return sums.totalText(Precision);
}

} // namespace xr
