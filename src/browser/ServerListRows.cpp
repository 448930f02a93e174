#include "browser/ServerListRows.h"

#include "browser/DurationText.h"
#include "browser/RecordQueries.h"

#include <QSqlQuery>

namespace xr {

namespace {

// Each row's duration in whole milliseconds, rounded half away from zero as std::llround does,
// from the same double arithmetic as DurationOf (a missing time reads as 0, as locally; a span
// beyond 100,000,000 days is held there).
const QString kMilliseconds =
    QStringLiteral("select RowNo, Sdt, ConnName, RxBytes, TxBytes, "
                   "cast(floor(x) as bigint) + case when x - floor(x) >= 0.5 then 1 else 0 end as ms from ("
                   "select RowNo, Sdt, ConnName, RxBytes, TxBytes, "
                   "least(abs(coalesce(Edt, 0) - coalesce(Sdt, 0)), 100000000.0) * 86400000.0 as x ");

// The sums of the components: count, days, hours, minutes, seconds, records with seconds.
const QString kDurationSums = QStringLiteral(
    "count(*), cast(coalesce(sum(ms / 86400000), 0) as bigint), "
    "cast(coalesce(sum(ms % 86400000 / 3600000), 0) as bigint), "
    "cast(coalesce(sum(ms % 3600000 / 60000), 0) as bigint), "
    "cast(coalesce(sum(ms % 60000 / 1000), 0) as bigint), count(nullif(ms % 60000 / 1000, 0))");

// The local list's order (SQLite compares names byte by byte and puts missing values first),
// the row number settling ties the same way every time: the order of the server's index
// XRRecordListOrder, which gives the rows in it without a sort.
const QString kListOrder =
    QStringLiteral(" order by Sdt nulls first, ConnName collate \"C\" nulls first, RowNo");

RecordQuery withValuesOf(const RecordQuery& list, const QString& text)
{
    RecordQuery query(text);
    for (auto value = list.values().cbegin(); value != list.values().cend(); ++value)
        query.bind(value.key(), value.value());
    return query;
}

// `columns` over the listed rows' milliseconds; the rows come in the list's order when `ordered`
// (the outer selects only pass them on, so an aggregate takes them in that order).
QString summed(const RecordQuery& list, const QString& columns, bool ordered)
{
    return QStringLiteral("select ") + columns + QStringLiteral(" from (") + kMilliseconds +
           listedRows(list.text()) + (ordered ? kListOrder : QString()) +
           QStringLiteral(") spans) durations");
}

// The server's text of a bigint array, "{3,1,2}", or empty for none; read in place.
std::vector<qint64> rowNumbers(const QString& array)
{
    std::vector<qint64> numbers;
    numbers.reserve(static_cast<std::size_t>(array.size() / 8 + 1));
    qint64 number = 0;
    bool inNumber = false;
    for (const QChar c : array) {
        const char16_t unit = c.unicode();
        if (unit >= u'0' && unit <= u'9') {
            number = number * 10 + (unit - u'0');
            inNumber = true;
        } else if (inNumber) { // a comma or the closing brace
            numbers.push_back(number);
            number = 0;
            inNumber = false;
        }
    }
    return numbers;
}

QString numberList(const std::vector<qint64>& numbers)
{
    QString text;
    text.reserve(static_cast<qsizetype>(numbers.size()) * 8);
    for (const qint64 number : numbers) {
        if (!text.isEmpty())
            text += QLatin1Char(',');
        text += QString::number(number);
    }
    return text;
}

std::optional<qint64> optionalInteger(const QVariant& value)
{
    return value.isNull() ? std::nullopt : std::optional<qint64>(value.toLongLong());
}

} // namespace

bool isServerConnection(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QPSQL");
}

ServerListRows scanServerListRows(const QSqlDatabase& db, const RecordQuery& list)
{
    const RecordQuery scan = withValuesOf(
        list,
        summed(list,
               kDurationSums + QStringLiteral(", cast(coalesce(sum(RxBytes), 0) as bigint), "
                                              "cast(coalesce(sum(TxBytes), 0) as bigint), array_agg(RowNo)"),
               true));
    QSqlQuery query = scan.run(db);
    ServerListRows rows;
    if (!query.next())
        return rows;
    const auto integer = [&query](int column) { return query.value(column).toLongLong(); };
    rows.sums = DurationSums(integer(0), integer(1), integer(2), integer(3), integer(4), integer(5));
    rows.traffic = TrafficTotal(integer(0), integer(6), integer(7));
    rows.rowNos = rowNumbers(query.value(8).toString());
    return rows;
}

RecordQuery serverDurationTotalQuery(const RecordQuery& list)
{
    return withValuesOf(list, summed(list, kDurationSums, false));
}

std::vector<std::pair<qint64, UsageRecord>> fetchServerRows(const QSqlDatabase& db,
                                                            const std::vector<qint64>& rowNos)
{
    std::vector<std::pair<qint64, UsageRecord>> rows;
    if (rowNos.empty())
        return rows;
    QSqlQuery query =
        RecordQuery(QStringLiteral("select RowNo, Sdt, Edt, UserId, ConnName, RecordId, RxBytes, "
                                   "TxBytes, Station from XRRecord where RowNo in (") +
                    numberList(rowNos) + QLatin1Char(')'))
            .run(db);
    rows.reserve(rowNos.size());
    while (query.next()) {
        UsageRecord record;
        record.Sdt = query.value(1).toDouble();
        record.Edt = query.value(2).toDouble();
        record.UserId = query.value(3).toString();
        record.ConnName = query.value(4).toString();
        record.Time = DurationText(false, record.Sdt, record.Edt);
        record.RecordId = query.value(5).toString();
        record.RxBytes = optionalInteger(query.value(6));
        record.TxBytes = optionalInteger(query.value(7));
        record.Station = query.value(8).toString();
        rows.emplace_back(query.value(0).toLongLong(), std::move(record));
    }
    return rows;
}

} // namespace xr
