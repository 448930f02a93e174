// How fast the main window opens its usage list on a store of years of records, against the
// floor of one SQL aggregate that counts and totals (time and bytes) the same rows. Also times deleting every
// listed record and the recorder's rewrite of the open record's end time on that store.
//
// Prints: (a) opening the list as an administrator for all users and connections over ten
// years (statement, grid model, last row current, counter, totals) and its peak memory over the
// empty list; (b) the aggregate; their ratio; the delete-all and the end-time update.

#include "BenchStore.h"

#include "browser/ByteCountText.h"
#include "common/AppContext.h"
#include "common/LoggingPrompter.h"
#include "browser/utMain.h"
#include "connections/RASNotify.h"
#include "platform/RegistryFile.h"
#include "platform/SimRemoteAccess.h"
#include "store/Database.h"
#include "store/DayCount.h"
#include "store/Identifiers.h"
#include "store/SqlCommand.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kRuns = 3;

// The panel as an administrator sets it for every user and connection over ten years.
void chooseTenYears(xr::TwinMain& window)
{
    auto* users = window.findChild<QComboBox*>(QStringLiteral("cbUserName"));
    users->setCurrentIndex(users->count() - 1);
    auto* connections = window.findChild<QComboBox*>(QStringLiteral("cbConnName"));
    connections->setCurrentIndex(connections->count() - 1);
    window.findChild<QCheckBox*>(QStringLiteral("chkbTime"))->click();
    window.findChild<QDateEdit*>(QStringLiteral("dtpSd"))->setDate(QDate::currentDate().addYears(-10).addDays(-1));
    window.findChild<QDateEdit*>(QStringLiteral("dtpEd"))->setDate(QDate::currentDate());
}

// (a): the 查找 click up to a painted grid with the last row current.
qint64 openList(xr::TwinMain& window)
{
    QElapsedTimer timer;
    timer.start();
    window.findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
    window.findChild<QTableView*>(QStringLiteral("dbgMain"))->viewport()->repaint();
    return timer.elapsed();
}

struct Aggregate {
    qint64 ms = 0;
    qint64 count = 0;
    QString total;
    QString traffic;
};

// (b): one aggregate over the same rows, the durations taken apart as the list does (whole
// days, the time of day rounded to the millisecond), every begun minute counted whole.
Aggregate aggregate(const QSqlDatabase& db, double s, double e)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "select count(*), sum(ms / 86400000), sum(ms % 86400000 / 3600000), sum(ms % 3600000 / 60000), "
        "sum(ms % 60000 >= 1000), coalesce(sum(RxBytes), 0), coalesce(sum(TxBytes), 0) from (select "
        "cast(round(abs(Edt - Sdt) * 86400000) as integer) as ms, RxBytes, TxBytes "
        "from XRRecord where (Sdt >= :s) and (Edt <= :e))"));
    query.bindValue(QStringLiteral(":s"), s);
    query.bindValue(QStringLiteral(":e"), e);
    query.exec();
    query.next();
    Aggregate result;
    result.count = query.value(0).toLongLong();
    qint64 minutes = query.value(3).toLongLong() + query.value(4).toLongLong();
    qint64 hours = query.value(2).toLongLong() + minutes / 60;
    const qint64 days = query.value(1).toLongLong() + hours / 24;
    result.total = QStringLiteral("累计上网时间： %1天%2小时%3分").arg(days).arg(hours % 24).arg(minutes % 60);
    result.traffic = QStringLiteral("流量： 接收 %1 发送 %2")
                         .arg(xr::byteCountText(query.value(5).toLongLong()),
                              xr::byteCountText(query.value(6).toLongLong()));
    result.ms = timer.elapsed();
    return result;
}

QString label(xr::TwinMain& window, const QString& name)
{
    return window.findChild<QLabel*>(name)->text();
}

// The recorder's end-time rewrite of the open record, the newest one, as tmRecord runs it.
double endTimeUpdateMs(xr::SqlCommand& command, const QSqlDatabase& db)
{
    QSqlQuery newest(db);
    newest.exec(QStringLiteral("select max(Sdt) from XRRecord"));
    newest.next();
    const double sdt = newest.value(0).toDouble();
    constexpr int kUpdates = 50;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kUpdates; ++i) {
        command.setCommandText(QStringLiteral("update XRRecord set Edt = :e where (Sdt = :s)"));
        command.setParameter(QStringLiteral(":e"), xr::toDayCount(QDateTime::currentDateTime()));
        command.setParameter(QStringLiteral(":s"), sdt);
        command.execute();
    }
    return static_cast<double>(timer.elapsed()) / kUpdates;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString appPath = dir.path() + QLatin1Char('/');
    QElapsedTimer building;
    building.start();
    xr::bench::buildStore(appPath + xr::kDatabaseFileName, kRecords);
    std::printf("store: %d records, %d users, %lld connections, ten years; built in %lld ms\n", kRecords, xr::bench::kUsers,
                static_cast<long long>(xr::bench::kConnections.size()), static_cast<long long>(building.elapsed()));

    xr::SystemClock clock;
    xr::LoggingPrompter prompter;
    xr::platform::SimRemoteAccess remoteAccess((appPath + QStringLiteral("SimRas.json")).toStdString());
    xr::platform::RegistryFile registry(appPath + QStringLiteral("Xarvane.reg"));
    xr::AppContext context(appPath, clock, prompter, remoteAccess, registry);
    context.currentConnection = {xr::kBuiltInUserId, QStringLiteral("admin"), {}, 0, 0, true};
    xr::Database database;
    if (!database.open(appPath + xr::kDatabaseFileName))
        return 1;
    xr::SqlCommand command(database);
    xr::TRASNotify notify(remoteAccess);
    xr::TwinMain window(context, database, command, notify);
    window.show();
    chooseTenYears(window);
    QCoreApplication::processEvents();

    const bool peakReset = xr::bench::resetPeak();
    const long emptyKb = peakReset ? xr::bench::statusKb("VmRSS") : xr::bench::statusKb("VmHWM");
    qint64 bestList = openList(window);
    const long peakKb = xr::bench::statusKb("VmHWM");
    const QString counter = label(window, QStringLiteral("lblCount"));
    const QString total = label(window, QStringLiteral("lblFare"));
    const QString traffic = label(window, QStringLiteral("lblTraffic"));
    const double s = window.list().query().values().value(QStringLiteral(":s")).toDouble();
    const double e = window.list().query().values().value(QStringLiteral(":e")).toDouble();
    Aggregate floor = aggregate(database.connection(), s, e);
    for (int run = 1; run < kRuns; ++run) {
        bestList = std::min(bestList, openList(window));
        const Aggregate again = aggregate(database.connection(), s, e);
        floor.ms = std::min(floor.ms, again.ms);
    }

    std::printf("(a) open the list, all users, all connections, ten years: %lld ms (best of %d)\n",
                static_cast<long long>(bestList), kRuns);
    std::printf("    %s | %s | %s\n", qPrintable(counter), qPrintable(traffic), qPrintable(total));
    std::printf("    peak memory over the empty list: %.1f MB (%s)\n", (peakKb - emptyKb) / 1024.0,
                peakReset ? "VmHWM after, less VmRSS before with the peak reset" : "VmHWM difference");
    std::printf("(b) one SQL aggregate over the same rows: %lld ms (best of %d)\n", static_cast<long long>(floor.ms),
                kRuns);
    std::printf("    共 %lld 条记录 | %s | %s\n", static_cast<long long>(floor.count), qPrintable(floor.traffic),
                qPrintable(floor.total));
    std::printf("ratio (a)/(b): %.2f\n", floor.ms > 0 ? static_cast<double>(bestList) / floor.ms : 0.0);
    const bool same = counter.startsWith(QStringLiteral("共 %1 条记录").arg(floor.count)) && total == floor.total &&
                      traffic == floor.traffic;
    std::printf("same count and totals: %s\n", same ? "yes" : "NO");

    std::printf("recorder's end-time update of the open record: %.2f ms each\n",
                endTimeUpdateMs(command, database.connection()));
    QElapsedTimer deleting;
    deleting.start();
    window.actions().actDelAll->trigger();
    std::printf("delete all %d listed records and reopen the list: %lld ms (%s)\n", kRecords,
                static_cast<long long>(deleting.elapsed()), qPrintable(label(window, QStringLiteral("lblCount"))));
    return 0;
}
