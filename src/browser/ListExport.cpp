#include "browser/ListExport.h"

#include "browser/DurationText.h"
#include "browser/RecordList.h"
#include "store/DayCount.h"

#include <QDir>
#include <QSaveFile>
#include <QStringList>

#include <stdexcept>

namespace xr {

namespace {

constexpr qint64 kSecondsPerDay = 86400;

qint64 durationSeconds(double start, double end)
{
    const DurationParts parts = DurationOf(start, end);
    return parts.days * kSecondsPerDay + parts.hours * 3600 + parts.minutes * 60 + parts.seconds;
}

QByteArray csvLine(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

} // namespace

QString csvField(const QString& text)
{
    static const QString kFormulaStarts = QStringLiteral("=+-@");
    QString field = !text.isEmpty() && kFormulaStarts.contains(text.at(0)) ? QLatin1Char('\'') + text : text;
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\r')) && !field.contains(QLatin1Char('\n')))
        return field;
    return QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

void exportCsv(const RecordList& rows, const QString& file)
{
    QSaveFile out(file);
    bool written = out.open(QIODevice::WriteOnly);
    written = written && out.write("\xEF\xBB\xBF") == 3;
    written = written && out.write(csvLine({QStringLiteral("连接"), QStringLiteral("连接日期时间"),
                                            QStringLiteral("断开日期时间"), QStringLiteral("上网时间"),
                                            QStringLiteral("上网秒数")})) > 0;
    for (int row = 0; written && row < rows.count(); ++row) {
        const UsageRecord record = rows.record(row);
        written =
            out.write(csvLine({record.ConnName, dayCountText(record.Sdt), dayCountText(record.Edt),
                               record.Time, QString::number(durationSeconds(record.Sdt, record.Edt))})) > 0;
    }
    if (!written || !out.commit())
        throw std::runtime_error(QStringLiteral("无法写入文件[%1]：%2")
                                     .arg(QDir::toNativeSeparators(file), out.errorString())
                                     .toStdString());
}

} // namespace xr
