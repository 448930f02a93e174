#include "browser/UsageStatistics.h"

#include "browser/ReportTexts.h"
#include "common/Settings.h"
#include "store/DayCount.h"
#include "store/PickLists.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace xr {

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kUnbounded = std::numeric_limits<double>::infinity();
const QString kUser = QStringLiteral(":u");
const QString kConnection = QStringLiteral(":c");
const QString kFirst = QStringLiteral(":first");
const QString kEnd = QStringLiteral(":end");

// A record that the database cannot sum whole (it runs past its day or the period's edge, or it
// ends before it starts) comes out one by one as [Sdt, Edt, RxBytes, TxBytes], for its parts to
// be cut here.
const QString kRecordJson = QStringLiteral("json_array(Sdt, Edt, RxBytes, TxBytes)");

// The days [first, end) the statistics cover, and whether records are cut at their edges.
struct DayRange {
    qint64 first = 0;
    qint64 end = 0;
    bool bounded = true;

    double from() const { return bounded ? static_cast<double>(first) : -kUnbounded; }
    double to() const { return bounded ? static_cast<double>(end) : kUnbounded; }
};

qint64 dayNumber(const QDate& date)
{
    return std::llround(toDayCount(QDateTime(date, QTime(0, 0))));
}

QDate dateOfDay(qint64 day)
{
    return fromDayCount(static_cast<double>(day)).date();
}

QDate periodStart(const StatsPeriod& period)
{
    const QDate date = period.date;
    return period.kind == StatsPeriodKind::Year ? QDate(date.year(), 1, 1)
                                                : QDate(date.year(), date.month(), 1);
}

QString choiceConditions(const RecordChoice& choice)
{
    QString conditions;
    if (choice.userId)
        conditions += QStringLiteral(" and (UserId = :u)");
    if (choice.connName)
        conditions += QStringLiteral(" and (ConnName = :c)");
    return conditions;
}

void bindChoice(RecordQuery& query, const RecordChoice& choice)
{
    if (choice.userId)
        query.bind(kUser, *choice.userId);
    if (choice.connName)
        query.bind(kConnection, *choice.connName);
}

// Every record, any choice: the days from the first record's to the last one's start.
std::optional<DayRange> wholeStoreRange(const QSqlDatabase& db)
{
    QSqlQuery query = RecordQuery(QStringLiteral("select min(Sdt), max(Sdt) from XRRecord")).run(db);
    if (!query.next() || query.value(0).isNull())
        return std::nullopt;
    return DayRange{static_cast<qint64>(std::floor(query.value(0).toDouble())),
                    static_cast<qint64>(std::floor(query.value(1).toDouble())) + 1, false};
}

std::optional<DayRange> dayRangeOf(const QSqlDatabase& db, const StatsPeriod& period)
{
    if (period.kind == StatsPeriodKind::All)
        return wholeStoreRange(db);
    const QDate start = periodStart(period);
    const QDate end = period.kind == StatsPeriodKind::Year ? start.addYears(1) : start.addMonths(1);
    return DayRange{dayNumber(start), dayNumber(end), true};
}

// A record that runs over the start of a bounded period began at most the longest record's
// length before it.
QString startsBeforeFirstDay()
{
    return QStringLiteral(
        "Sdt < :first and Sdt >= :first - (select coalesce(max(Edt - Sdt), 0) from XRRecord) "
        "and Edt > :first");
}

// The part of [lo, hi] between `from` and `to`, in days.
double overlap(double lo, double hi, double from, double to)
{
    return std::max(0.0, std::min(hi, to) - std::max(lo, from));
}

struct CutRecord {
    double lo = 0; // start and end in time order
    double hi = 0;
    UsageAmount whole;
};

CutRecord cutRecordOf(const QJsonArray& fields)
{
    const double sdt = fields.at(0).toDouble();
    const double edt = fields.at(1).toDouble();
    CutRecord record;
    record.lo = std::min(sdt, edt);
    record.hi = std::max(sdt, edt);
    record.whole = {(record.hi - record.lo) * kSecondsPerDay, fields.at(2).toDouble(),
                    fields.at(3).toDouble()};
    return record;
}

QList<CutRecord> cutRecordsOf(const QJsonValue& records)
{
    QList<CutRecord> cut;
    for (const QJsonValue& record : records.toArray())
        cut.append(cutRecordOf(record.toArray()));
    return cut;
}

// The share of a record that lies in [from, to): by time, or whole for a record of no length
// that starts there.
double shareIn(const CutRecord& record, double from, double to)
{
    const double length = record.hi - record.lo;
    if (length <= 0)
        return record.lo >= from && record.lo < to ? 1.0 : 0.0;
    return overlap(record.lo, record.hi, from, to) / length;
}

using DayAmounts = std::map<qint64, UsageAmount>;

// Adds each day's part of `record` inside `range`.
void spreadOverDays(DayAmounts& days, const CutRecord& record, const DayRange& range)
{
    const double from = std::max(record.lo, range.from());
    const double to = std::min(record.hi, range.to());
    for (auto day = static_cast<qint64>(std::floor(from)); static_cast<double>(day) <= to; ++day) {
        const double share = shareIn(record, static_cast<double>(day), static_cast<double>(day + 1));
        if (share > 0)
            days[day].add(record.whole, share);
        if (static_cast<double>(day + 1) >= to)
            break;
    }
}

// The time in days and the bytes received and sent that the database summed, the first three
// fields of a statement's JSON row.
UsageAmount summedAmount(const QJsonArray& row)
{
    return {row.at(0).toDouble() * kSecondsPerDay, row.at(1).toDouble(), row.at(2).toDouble()};
}

// One statement: for each day of the range, the records that start on it, found through the
// index on Sdt (grouping by day without a sort of all the rows). Those that end on the same day
// are summed by the database; those that run past midnight come out whole and are spread here
// over the days they touch. In a bounded period the records that began before it and run into
// it come out too, in a last row without a day.
DayAmounts dayAmounts(const QSqlDatabase& db, const RecordChoice& choice, const DayRange& range)
{
    const QString conditions = choiceConditions(choice);
    const QString sameDay = QStringLiteral("Edt >= Sdt and Edt <= d + 1");
    QString text =
        QStringLiteral(
            "with recursive Days(d) as (select :first union all select d + 1 from Days where d + 1 < :end) "
            "select d, (select json_array(total(Edt - Sdt) filter (where %1), "
            "total(RxBytes) filter (where %1), total(TxBytes) filter (where %1), "
            "json_group_array(%2) filter (where not (%1))) "
            "from XRRecord where Sdt >= d and Sdt < d + 1%3) from Days")
            .arg(sameDay, kRecordJson, conditions);
    if (range.bounded)
        text += QStringLiteral(" union all select null, json_array(0, 0, 0, json_group_array(%1)) "
                               "from XRRecord where %2%3")
                    .arg(kRecordJson, startsBeforeFirstDay(), conditions);
    RecordQuery statement(text);
    statement.bind(kFirst, range.first);
    statement.bind(kEnd, range.end);
    bindChoice(statement, choice);
    QSqlQuery query = statement.run(db);
    DayAmounts days;
    while (query.next()) {
        const QJsonArray row = QJsonDocument::fromJson(query.value(1).toString().toUtf8()).array();
        if (!query.value(0).isNull())
            days[query.value(0).toLongLong()].add(summedAmount(row));
        for (const CutRecord& record : cutRecordsOf(row.at(3)))
            spreadOverDays(days, record, range);
    }
    return days;
}

using KeyAmounts = QHash<QString, UsageAmount>;

// One statement grouped by the user or the connection, over the records in the range.
KeyAmounts keyAmounts(const QSqlDatabase& db, const RecordChoice& choice, const DayRange& range,
                      const QString& keyColumn)
{
    const QString inside = range.bounded ? QStringLiteral("Edt >= Sdt and Sdt >= :first and Edt <= :end")
                                         : QStringLiteral("Edt >= Sdt");
    const QString rows =
        range.bounded ? QStringLiteral("(Sdt >= :first and Sdt < :end or %1)").arg(startsBeforeFirstDay())
                      : QStringLiteral("1");
    RecordQuery statement(
        QStringLiteral("select %1, json_array(total(Edt - Sdt) filter (where %2), "
                       "total(RxBytes) filter (where %2), total(TxBytes) filter (where %2), "
                       "json_group_array(%3) filter (where not (%2))) "
                       "from XRRecord where %4%5 group by %1")
            .arg(keyColumn, inside, kRecordJson, rows, choiceConditions(choice)));
    if (range.bounded) {
        statement.bind(kFirst, range.first);
        statement.bind(kEnd, range.end);
    }
    bindChoice(statement, choice);
    QSqlQuery query = statement.run(db);
    KeyAmounts keys;
    while (query.next()) {
        const QJsonArray row = QJsonDocument::fromJson(query.value(1).toString().toUtf8()).array();
        UsageAmount amount = summedAmount(row);
        for (const CutRecord& record : cutRecordsOf(row.at(3)))
            amount.add(record.whole, shareIn(record, range.from(), range.to()));
        if (!amount.isEmpty())
            keys.insert(query.value(0).toString(), amount);
    }
    return keys;
}

QHash<QString, QString> userNames(const QSqlDatabase& db)
{
    QSqlQuery query = RecordQuery(QStringLiteral("select UserId, UserName from XRUser")).run(db);
    QHash<QString, QString> names;
    while (query.next())
        names.insert(query.value(0).toString(), query.value(1).toString());
    return names;
}

QList<ChartBar> dayBars(const DayAmounts& days, const DayRange& range)
{
    QList<ChartBar> bars;
    for (qint64 day = range.first; day < range.end; ++day) {
        const QDate date = dateOfDay(day);
        const auto found = days.find(day);
        bars.append({QString::number(date.day()), date.toString(QStringLiteral("yyyy年M月d日")),
                     found == days.end() ? UsageAmount() : found->second});
    }
    return bars;
}

// The months or years of the days, in order; the years of every record run from the first that
// has any use to the last.
QList<ChartBar> foldedBars(const DayAmounts& days, const StatsPeriod& period)
{
    const bool months = period.kind == StatsPeriodKind::Year;
    std::map<int, UsageAmount> folded;
    for (const auto& [day, amount] : days) {
        if (amount.isEmpty())
            continue;
        const QDate date = dateOfDay(day);
        folded[months ? date.month() : date.year()].add(amount);
    }
    if (months) {
        for (int month = 1; month <= 12; ++month)
            folded[month];
    } else if (!folded.empty()) {
        for (int year = folded.begin()->first; year <= folded.rbegin()->first; ++year)
            folded[year];
    }
    QList<ChartBar> bars;
    for (const auto& [unit, amount] : folded) {
        if (months)
            bars.append({QStringLiteral("%1月").arg(unit),
                         QStringLiteral("%1年%2月").arg(period.date.year()).arg(unit), amount});
        else
            bars.append({QString::number(unit), QStringLiteral("%1年").arg(unit), amount});
    }
    return bars;
}

// Most online time first; equal times in order of their names.
QList<ChartBar> keyBars(const KeyAmounts& keys, const QHash<QString, QString>& names)
{
    QList<ChartBar> bars;
    for (auto key = keys.cbegin(); key != keys.cend(); ++key) {
        const QString name = names.value(key.key(), key.key());
        bars.append({name, name, key.value()});
    }
    std::sort(bars.begin(), bars.end(), [](const ChartBar& a, const ChartBar& b) {
        if (a.amount.seconds != b.amount.seconds)
            return a.amount.seconds > b.amount.seconds;
        return a.name < b.name;
    });
    return bars;
}

QList<ChartBar> dateBars(const DayAmounts& days, const DayRange& range, const StatsPeriod& period)
{
    return period.kind == StatsPeriodKind::Month ? dayBars(days, range) : foldedBars(days, period);
}

QList<BusyDay> busiestDays(const DayAmounts& days)
{
    QList<BusyDay> busy;
    for (const auto& [day, amount] : days) {
        if (amount.seconds > 0)
            busy.append({dateOfDay(day), amount});
    }
    std::stable_sort(busy.begin(), busy.end(),
                     [](const BusyDay& a, const BusyDay& b) { return a.amount.seconds > b.amount.seconds; });
    if (busy.size() > kBusiestDays)
        busy.resize(kBusiestDays);
    return busy;
}

QString groupingText(const StatsRequest& request)
{
    switch (request.grouping) {
    case StatsGrouping::ByUser:
        return QStringLiteral("按用户");
    case StatsGrouping::ByConnection:
        return QStringLiteral("按连接");
    case StatsGrouping::ByDate:
        break;
    }
    switch (request.period.kind) {
    case StatsPeriodKind::Month:
        return QStringLiteral("每日");
    case StatsPeriodKind::Year:
        return QStringLiteral("每月");
    case StatsPeriodKind::All:
        break;
    }
    return QStringLiteral("每年");
}

} // namespace

RecordChoice recordChoiceOf(const RecordQuery& list)
{
    RecordChoice choice;
    choice.userId = listedUserId(list);
    if (list.text().contains(kConnection))
        choice.connName = list.values().value(kConnection).toString();
    return choice;
}

QString choiceText(const QSqlDatabase& db, const RecordChoice& choice)
{
    const QString user = choice.userId ? userNames(db).value(*choice.userId) : kAllUsers;
    return QStringLiteral("上网用户：") + user + QStringLiteral("　连接名称：") +
           choice.connName.value_or(kAllConnections);
}

QString periodText(const StatsPeriod& period)
{
    switch (period.kind) {
    case StatsPeriodKind::Month:
        return period.date.toString(QStringLiteral("yyyy年M月"));
    case StatsPeriodKind::Year:
        return period.date.toString(QStringLiteral("yyyy年"));
    case StatsPeriodKind::All:
        break;
    }
    return QStringLiteral("全部");
}

StatsPeriod nextPeriod(const StatsPeriod& period, int step)
{
    StatsPeriod next = period;
    if (period.kind == StatsPeriodKind::Month)
        next.date = periodStart(period).addMonths(step);
    else if (period.kind == StatsPeriodKind::Year)
        next.date = periodStart(period).addYears(step);
    return next;
}

void UsageAmount::add(const UsageAmount& other, double share)
{
    seconds += other.seconds * share;
    received += other.received * share;
    sent += other.sent * share;
}

QList<ChartBar> chartBars(const QSqlDatabase& db, const StatsRequest& request)
{
    const std::optional<DayRange> range = dayRangeOf(db, request.period);
    if (!range)
        return {};
    switch (request.grouping) {
    case StatsGrouping::ByUser:
        return keyBars(keyAmounts(db, request.choice, *range, QStringLiteral("UserId")), userNames(db));
    case StatsGrouping::ByConnection:
        return keyBars(keyAmounts(db, request.choice, *range, QStringLiteral("ConnName")), {});
    case StatsGrouping::ByDate:
        break;
    }
    return dateBars(dayAmounts(db, request.choice, *range), *range, request.period);
}

// Bars of dates and the busiest days come from the same statement.
UsageStatistics usageStatistics(const QSqlDatabase& db, const StatsRequest& request)
{
    UsageStatistics statistics;
    statistics.title = periodText(request.period) + QLatin1Char(' ') + groupingText(request);
    const std::optional<DayRange> range = dayRangeOf(db, request.period);
    if (!range)
        return statistics;
    const DayAmounts days = dayAmounts(db, request.choice, *range);
    statistics.busiestDays = busiestDays(days);
    statistics.bars = request.grouping == StatsGrouping::ByDate ? dateBars(days, *range, request.period)
                                                                : chartBars(db, request);
    return statistics;
}

} // namespace xr
