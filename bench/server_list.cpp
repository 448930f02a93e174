// How fast the usage list of a million records opens from the shared server, against the floor
// of one SQL statement on the server that totals the same rows' durations the same way.
//
// Starts a PostgreSQL server of its own, fills XRRecord with 1,000,000 rows of ten PCs, and
// prints, best of three: (a) opening the list as an administrator's list of every record
// (the row numbers in order, the duration and byte sums, then the last rows read for the grid);
// (b) the one-statement total; their ratio; and whether both totals agree.

#include "browser/DurationSums.h"
#include "browser/RecordList.h"
#include "browser/ServerListRows.h"
#include "store/ServerDatabase.h"
#include "store/ServerSchema.h"

#include "PgServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kRuns = 3;

// Ten PCs' records over about eight years from 2004, of a second to two hours each, with bytes.
const char* const kFill =
    "insert into XRRecord (Station, RecordId, Sdt, Edt, UserId, ConnName, RxBytes, TxBytes) "
    "select 'PC-' || (g % 10), cast(g as text), 38047 + g * 0.003, 38047 + g * 0.003 + (g % 7200 + 0.5) / "
    "86400, "
    "'000000000000000001', 'conn' || (g % 4), g % 100000, g % 7000 from generate_series(1, %1) g";

const QString kList = QStringLiteral("select * from XRRecord order by Sdt,ConnName");

template <typename Work> qint64 bestOf(Work work)
{
    qint64 best = -1;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        const qint64 elapsed = timer.elapsed();
        best = best < 0 ? elapsed : std::min(best, elapsed);
    }
    return best;
}

bool prepareServer(const xr::test::PgServer& server)
{
    if (!server.createDatabase(QStringLiteral("bench")))
        return false;
    QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-fill"));
    raw.setConnectOptions(server.conninfo(QStringLiteral("bench")));
    if (!raw.open())
        return false;
    xr::createServerSchema(raw, QStringLiteral("pw"));
    QSqlQuery fill(raw);
    const bool filled = fill.exec(QString::fromLatin1(kFill).arg(kRecords)) &&
                        fill.exec(QStringLiteral("vacuum analyze XRRecord"));
    fill = QSqlQuery();
    raw.close();
    raw = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("bench-fill"));
    return filled;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const xr::test::PgServer server;
    if (!server.available()) {
        std::printf("skipped: %s\n", qPrintable(server.whyUnavailable()));
        return 0;
    }
    if (!prepareServer(server)) {
        std::printf("could not fill the server\n");
        return 1;
    }
    xr::ServerDatabase db(QStringLiteral("bench"));
    if (db.open(server.conninfo(QStringLiteral("bench"))) != xr::ServerAnswer::Answered) {
        std::printf("%s\n", qPrintable(db.problem()));
        return 1;
    }
    const xr::RecordQuery list(kList);

    xr::RecordList opened;
    const qint64 openMs = bestOf([&] {
        opened.open(db.connection(), list);
        opened.record(opened.count() - 1);
    });
    QString statementTotal;
    const qint64 totalMs = bestOf([&] {
        QSqlQuery query = xr::serverDurationTotalQuery(list).run(db.connection());
        query.next();
        const auto value = [&query](int column) { return query.value(column).toLongLong(); };
        statementTotal =
            xr::DurationSums(value(0), value(1), value(2), value(3), value(4), value(5)).totalText(1);
    });

    std::printf("records: %d\n", opened.count());
    std::printf("(a) opening the list from the server: %lld ms\n", static_cast<long long>(openMs));
    std::printf("(b) one SQL statement totalling the same rows: %lld ms\n", static_cast<long long>(totalMs));
    std::printf("ratio (a)/(b): %.2f (target at most 1.5)\n",
                totalMs > 0 ? double(openMs) / double(totalMs) : 0.0);
    std::printf("list total: %s\nstatement total: %s\n", qPrintable(opened.sums().totalText(1)),
                qPrintable(statementTotal));
    return opened.sums().totalText(1) == statementTotal ? 0 : 1;
}
