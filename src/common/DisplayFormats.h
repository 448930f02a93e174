#pragma once
// The one short-date and one long-time format in which the program shows and reads dates.

#include <QDateTime>
#include <QString>

namespace xr {

inline const QString kShortDateFormat = QStringLiteral("yyyy-M-d");
inline const QString kLongTimeFormat = QStringLiteral("H:mm:ss");

inline QString dateTimeText(const QDateTime& moment)
{
    return moment.toString(kShortDateFormat + QLatin1Char(' ') + kLongTimeFormat);
}

} // namespace xr
