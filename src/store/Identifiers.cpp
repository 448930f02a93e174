#include "store/Identifiers.h"

namespace xr {

namespace {
QString dateTimePieces(const QDateTime& moment)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    auto two = [](int n) { return TwoDigits(QString::number(n)); };
    return QString::number(date.year()) + two(date.month()) + two(date.day()) + two(time.hour()) +
           two(time.minute()) + two(time.second());
}
} // namespace

QString TwoDigits(const QString& text)
{
    return text.size() == 2 ? text : QStringLiteral("0") + text;
}

QString NewId(const QDateTime& moment)
{
    return dateTimePieces(moment) + QString::number(moment.time().msec());
}

QString BackupFileName(const QDateTime& moment)
{
    return QStringLiteral("XR") + dateTimePieces(moment) + QStringLiteral(".mdb");
}

} // namespace xr
