// How fast the statistics window gets its chart data on a store of a million records of a hundred
// users over ten years, against the usage list's own totals over the same rows.
//
// Prints: (a) opening the usage list of every record (its one pass for the time total and the
// statement for the byte total); (b) the grouped statement of each chart over the same rows,
// with its ratio to (a) (the aim: 1.5 at most); whether the bars add up to the list's totals;
// (c) charts of one month and one year; (d) the statistics window opened on the store, up to its
// first chart painted (the aim: within 1 s).

#include "BenchStore.h"

#include "browser/ListScan.h"
#include "browser/RecordList.h"
#include "browser/StatisticsWindow.h"
#include "browser/UsageChartView.h"
#include "browser/UsageStatistics.h"
#include "common/AppContext.h"
#include "common/LoggingPrompter.h"
#include "platform/RegistryFile.h"
#include "platform/SimRemoteAccess.h"
#include "store/Database.h"
#include "store/Identifiers.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kUsers = 100;
constexpr int kRuns = 3;
constexpr double kRatioAim = 1.5;

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

// The best of kRuns runs, by wall-clock time.
Timing bestOf(const std::function<void()>& step)
{
    Timing best{1e300, 0};
    for (int run = 0; run < kRuns; ++run) {
        const xr::bench::StepTimer timer;
        step();
        if (timer.wallMs() < best.wallMs)
            best = {timer.wallMs(), timer.cpuMs()};
    }
    return best;
}

QString timingText(const Timing& timing)
{
    return QStringLiteral("%1 ms (%2 ms CPU)").arg(timing.wallMs, 0, 'f', 0).arg(timing.cpuMs, 0, 'f', 0);
}

// Every record, as the list's 查找 opens it for all users and connections.
xr::RecordQuery everyRecord()
{
    return xr::RecordQuery(QStringLiteral("select * from XRRecord where (Sdt >= :s) order by Sdt,ConnName"));
}

xr::UsageAmount barsTotal(const xr::UsageStatistics& statistics)
{
    xr::UsageAmount total;
    for (const xr::ChartBar& bar : statistics.bars)
        total.add(bar.amount);
    return total;
}

// The bars hold the list's time to the second and its bytes to the byte, within rounding.
bool sameTotals(const xr::UsageAmount& bars, const xr::RecordList& list, double listSeconds)
{
    return std::abs(bars.seconds - listSeconds) < 1.0 + listSeconds * 1e-9 &&
           std::abs(bars.received - static_cast<double>(list.traffic().received())) < 1.0 &&
           std::abs(bars.sent - static_cast<double>(list.traffic().sent())) < 1.0;
}

double listSeconds(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.exec(QStringLiteral("select total(Edt - Sdt) * 86400 from XRRecord"));
    query.next();
    return query.value(0).toDouble();
}

// Runs events until the window shows the chart titled `title`, then paints it.
void untilChartShown(xr::StatisticsWindow& window, const QString& title)
{
    QEventLoop loop;
    QObject::connect(&window, &xr::StatisticsWindow::statisticsShown, &loop, [&] {
        if (window.statistics().title == title)
            loop.quit();
    });
    if (window.statistics().title != title)
        loop.exec();
    window.findChild<xr::UsageChartView*>(QStringLiteral("chartView"))->repaint();
}

void choose(xr::StatisticsWindow& window, const QString& combo, const QString& item)
{
    auto* box = window.findChild<QComboBox*>(combo);
    box->setCurrentIndex(box->findText(item));
}

// (d): the window as an administrator opens it on a list of every user's records.
void timeWindow(const QString& folder, xr::Database& database)
{
    xr::SystemClock clock;
    xr::LoggingPrompter prompter;
    xr::platform::SimRemoteAccess remoteAccess((folder + QStringLiteral("SimRas.json")).toStdString());
    xr::platform::RegistryFile registry(folder + QStringLiteral("Xarvane.reg"));
    xr::AppContext context(folder, clock, prompter, remoteAccess, registry);
    context.currentConnection = {xr::kBuiltInUserId, QStringLiteral("admin"), {}, 0, 0, true};
    const QString month =
        xr::periodText({xr::StatsPeriodKind::Month, clock.now().date()}) + QStringLiteral(" 每日");

    const xr::bench::StepTimer opening;
    xr::StatisticsWindow window(context, database, xr::RecordChoice{});
    window.show();
    untilChartShown(window, month);
    std::printf(
        "(d) the statistics window opened on every record, up to its first chart (%s) painted: %s (aim <= "
        "1000 ms)\n",
        qPrintable(month), qPrintable(timingText({opening.wallMs(), opening.cpuMs()})));

    const xr::bench::StepTimer switching;
    choose(window, QStringLiteral("cbPeriod"), QStringLiteral("全部"));
    choose(window, QStringLiteral("cbGroup"), QStringLiteral("按用户"));
    untilChartShown(window, QStringLiteral("全部 按用户"));
    std::printf("    then every record per user, with the busiest days, painted: %s\n",
                qPrintable(timingText({switching.wallMs(), switching.cpuMs()})));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(xr::kDatabaseFileName);
    const xr::bench::StepTimer building;
    xr::bench::buildStore(file, kRecords, kUsers);
    std::printf("store: %d records, %d users, %lld connections, ten years; built in %.0f ms\n", kRecords,
                kUsers, static_cast<long long>(xr::bench::kConnections.size()), building.wallMs());
    xr::Database database;
    if (!database.open(file))
        return 1;
    const QSqlDatabase db = database.connection();

    xr::RecordQuery list = everyRecord();
    list.bind(QStringLiteral(":s"), 0.0);
    xr::RecordList records;
    const Timing listTiming = bestOf([&] { records.open(db, list); });
    std::printf("(a) the usage list of all %d records, its time and byte totals: %s\n", records.count(),
                qPrintable(timingText(listTiming)));
    std::printf("    %s | %s\n", qPrintable(records.sums().totalText(1)),
                qPrintable(records.traffic().text()));
    const Timing pass = bestOf([&] { xr::scanListRows(db, list); });
    const Timing bytes = bestOf([&] { xr::TrafficTotal::ofList(db, list); });
    std::printf("    of which the pass for the time total %s, the statement for the byte total %s\n",
                qPrintable(timingText(pass)), qPrintable(timingText(bytes)));

    const double seconds = listSeconds(db);
    const std::pair<const char*, xr::StatsGrouping> groupings[] = {
        {"per year", xr::StatsGrouping::ByDate},
        {"per user", xr::StatsGrouping::ByUser},
        {"per connection", xr::StatsGrouping::ByConnection},
    };
    for (const auto& [name, grouping] : groupings) {
        const xr::StatsRequest request{{}, grouping, {xr::StatsPeriodKind::All, QDate::currentDate()}};
        xr::UsageStatistics statistics;
        const Timing timing = bestOf([&] { statistics.bars = xr::chartBars(db, request); });
        std::printf(
            "(b) chart %s over the same rows: %s, %lld bars; ratio to (a): %.2f (aim <= %.1f); same totals: "
            "%s\n",
            name, qPrintable(timingText(timing)), static_cast<long long>(statistics.bars.size()),
            timing.wallMs / listTiming.wallMs, kRatioAim,
            sameTotals(barsTotal(statistics), records, seconds) ? "yes" : "NO");
        if (grouping != xr::StatsGrouping::ByDate) {
            const Timing whole = bestOf([&] { xr::usageStatistics(db, request); });
            std::printf("    with the busiest days (a second statement, by day): %s, ratio to (a): %.2f\n",
                        qPrintable(timingText(whole)), whole.wallMs / listTiming.wallMs);
        }
    }

    const QDate today = QDate::currentDate();
    const std::pair<const char*, xr::StatsPeriodKind> periods[] = {
        {"this month, per day", xr::StatsPeriodKind::Month},
        {"this year, per month", xr::StatsPeriodKind::Year}};
    for (const auto& [name, kind] : periods) {
        const xr::StatsRequest request{{}, xr::StatsGrouping::ByDate, {kind, today}};
        const Timing timing = bestOf([&] { xr::usageStatistics(db, request); });
        std::printf("(c) chart of %s: %s\n", name, qPrintable(timingText(timing)));
    }
    timeWindow(dir.path() + QLatin1Char('/'), database);
    return 0;
}
