// How fast the time a person has used today, this week and this month is read, as it is at each
// sign-in and connection start, on a store of 1,000,000 records of 100 users over ten years:
// through the index on XRRecord(UserId, Edt), against the same sum over all of the person's
// records. Target: at most 1 ms.
//
// Prints: the median of the indexed reading (with its target), the median of the sum over all
// the person's records, their ratio, and the number of records each reads.

#include "BenchStore.h"

#include "store/Database.h"
#include "store/UsedTime.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kUsers = 100;
constexpr int kRuns = 201;
constexpr double kTargetMs = 1.0;

double medianMs(const std::function<void()>& step)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

int count(const QSqlDatabase& db, const QString& statement, const QString& userId, double from)
{
    QSqlQuery query(db);
    query.prepare(statement);
    query.bindValue(QStringLiteral(":u"), userId);
    if (statement.contains(QLatin1String(":lo")))
        query.bindValue(QStringLiteral(":lo"), from);
    return query.exec() && query.next() ? query.value(0).toInt() : -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(xr::kDatabaseFileName);
    std::printf("building a store of %d records of %d users over ten years...\n", kRecords, kUsers);
    xr::bench::buildStore(file, kRecords, kUsers);
    xr::Database database;
    if (!database.open(file)) {
        std::printf("the store did not open\n");
        return 1;
    }
    const QSqlDatabase db = database.connection();
    const QString person = xr::bench::userId(kUsers / 2);
    const xr::AllowancePeriods periods = xr::allowancePeriods(QDate::currentDate());

    double used = 0;
    const double indexedMs = medianMs([&] { used = xr::usedTime(db, person, periods).thisMonth; });
    double all = 0;
    const double allMs = medianMs([&] { all = xr::usedTimeOfAllRecords(db, person); });

    const double lo = std::min(periods.thisWeek.s, periods.thisMonth.s);
    const int indexedRows = count(
        db, QStringLiteral("select count(*) from XRRecord where UserId = :u and Edt > :lo"), person, lo);
    const int allRows =
        count(db, QStringLiteral("select count(*) from XRRecord where UserId = :u"), person, 0);
    std::printf("used time today, this week and this month: %.3f ms median of %d (target <= %.1f ms), "
                "%d records read, %.0f s this month\n",
                indexedMs, kRuns, kTargetMs, indexedRows, used);
    std::printf(
        "the same sum over all of the person's records: %.3f ms median, %d records read, %.0f s in all\n",
        allMs, allRows, all);
    std::printf("ratio: the indexed reading takes %.1f%% of the full sum's time\n",
                100.0 * indexedMs / allMs);
    return 0;
}
