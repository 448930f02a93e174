#pragma once
// Online time and bytes of the usage records summed per day of a month, per month of a year, per
// year, per user or per connection, and the busiest days of the period: what the statistics
// window charts.
//
// A record counts in every day by the part of it that lies in that day, so a connection over
// midnight adds to both days, and a record that runs over the edge of the period counts only
// its part inside. Its bytes are shared out in proportion to its time (a record of no length
// keeps them on the day it starts). Unknown byte counts add nothing.

#include "store/RecordQuery.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace xr {

// Whose records and of which connection: the usage list's choice. Nothing means all.
struct RecordChoice {
    std::optional<QString> userId;
    std::optional<QString> connName;
};

// The user and connection that the list opened with `list` is restricted to.
RecordChoice recordChoiceOf(const RecordQuery& list);
// "上网用户：张三　连接名称：所有连接", named as the printed list names them. Throws
// DatabaseError.
QString choiceText(const QSqlDatabase& db, const RecordChoice& choice);

enum class StatsGrouping { ByDate, ByUser, ByConnection };
enum class StatsPeriodKind { Month, Year, All };

// A month or a year (the one holding `date`), or every record.
struct StatsPeriod {
    StatsPeriodKind kind = StatsPeriodKind::Month;
    QDate date;
};

// "2004年3月", "2004年", "全部".
QString periodText(const StatsPeriod& period);
// The period before or after `period`; "全部" has none and stays.
StatsPeriod nextPeriod(const StatsPeriod& period, int step);

struct UsageAmount {
    double seconds = 0;
    double received = 0; // bytes
    double sent = 0;

    // Adds `share` (0 to 1) of `other`.
    void add(const UsageAmount& other, double share = 1.0);
    bool isEmpty() const { return seconds <= 0 && received <= 0 && sent <= 0; }
};

struct ChartBar {
    QString label; // under the bar: "5", "3月", "2004", a user's or connection's name
    QString name;  // in the bar's tool tip: "2004年3月5日", "2004年3月", the whole name
    UsageAmount amount;
};

struct BusyDay {
    QDate date;
    UsageAmount amount;
};

struct UsageStatistics {
    QString title; // "2004年3月 每日"
    QList<ChartBar> bars;
    QList<BusyDay> busiestDays; // by online time, most first, at most kBusiestDays
};

inline constexpr int kBusiestDays = 10;

struct StatsRequest {
    RecordChoice choice;
    StatsGrouping grouping = StatsGrouping::ByDate;
    StatsPeriod period;
};

// The bars of `request`, from one grouped statement. Throws DatabaseError.
QList<ChartBar> chartBars(const QSqlDatabase& db, const StatsRequest& request);
// The bars, the title and the busiest days (from the same statement when the bars are dates).
// Throws DatabaseError.
UsageStatistics usageStatistics(const QSqlDatabase& db, const StatsRequest& request);

} // namespace xr
