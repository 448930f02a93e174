// The copy of each PC's records to the shared server and the cached accounts, against a real
// PostgreSQL server of the test's own: several PCs at once, a server that stops, a long offline
// stretch, and an administrator who changes the server's records meanwhile.
#include "common/ServerLink.h"
#include "store/Database.h"
#include "store/DatabaseError.h"
#include "store/RecordCopy.h"
#include "store/ServerDatabase.h"
#include "store/ServerSyncThread.h"

#include "InstalledDatabase.h"
#include "PgServer.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <ostream>

// Rows print as text in failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace xr {
namespace {

using Rows = QList<QStringList>;

constexpr double kDay = 45500.0; // a day count: some day in 2024
const QString kUser = QStringLiteral("200401010000001");

// NULL as an empty text (Qt gives a NULL number as 0).
Rows rowsOf(QSqlQuery& query)
{
    Rows rows;
    while (query.next()) {
        QStringList row;
        for (int column = 0; column < query.record().count(); ++column)
            row << (query.isNull(column) ? QString() : query.value(column).toString());
        rows << row;
    }
    return rows;
}

// One PC: its database file, and the recorder's connection to it (the test's thread).
class Station {
public:
    explicit Station(const QString& name) : m_name(name), m_db(QStringLiteral("station-") + name)
    {
        test::createInstalledDatabase(file());
        EXPECT_TRUE(m_db.open(file()));
    }

    QString file() const { return m_dir.filePath(kDatabaseFileName); }
    ServerSyncSetup setup(const QString& conninfo) const { return {file(), conninfo, m_name}; }
    QSqlDatabase connection() const { return m_db.connection(); }

    // The connection comes up: a row with the station's name, or with none (a row recorded
    // before rows had one).
    void open(const QString& id, double sdt, bool named = true)
    {
        write(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName,Station) "
                             "values (:i,:s,:s,:u,'163',:p)"),
              {{QStringLiteral(":i"), id},
               {QStringLiteral(":s"), sdt},
               {QStringLiteral(":u"), kUser},
               {QStringLiteral(":p"), named ? QVariant(m_name) : QVariant()}});
    }
    void end(const QString& id, double edt, qint64 rx = 0, qint64 tx = 0)
    {
        write(
            QStringLiteral("update XRRecord set Edt = :e, RxBytes = :rx, TxBytes = :tx where RecordId = :i"),
            {{QStringLiteral(":e"), edt},
             {QStringLiteral(":rx"), rx},
             {QStringLiteral(":tx"), tx},
             {QStringLiteral(":i"), id}});
    }
    // Day counts go in as the recorder binds them, bit for bit.
    void write(const QString& statement, const QMap<QString, QVariant>& values)
    {
        QSqlQuery query(m_db.connection());
        ASSERT_TRUE(query.prepare(statement)) << statement.toStdString();
        for (auto value = values.cbegin(); value != values.cend(); ++value)
            query.bindValue(value.key(), value.value());
        EXPECT_TRUE(query.exec()) << statement.toStdString() << query.lastError().text().toStdString();
    }
    void run(const QString& statement)
    {
        QSqlQuery query(m_db.connection());
        EXPECT_TRUE(query.exec(statement))
            << statement.toStdString() << query.lastError().text().toStdString();
    }
    Rows rows(const QString& statement) const
    {
        QSqlQuery query(m_db.connection());
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
        return rowsOf(query);
    }
    bool pending() const
    {
        return rows(QStringLiteral("select count(*) from XRRecord where Revision <> CopiedRevision")) !=
               Rows{{QStringLiteral("0")}};
    }

private:
    QString m_name;
    QTemporaryDir m_dir;
    Database m_db;
};

class ServerCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server.available())
            GTEST_SKIP() << server.whyUnavailable().toStdString();
        m_dbname = QStringLiteral("copy_%1").arg(++s_databases);
        ASSERT_TRUE(server.createXarvaneDatabase(m_dbname));
        link.configure(conninfo());
    }
    void TearDown() override
    {
        if (m_stopped)
            server.start();
    }

    QString conninfo() const { return server.conninfo(m_dbname); }
    void stopServer()
    {
        m_stopped = true;
        server.stop();
    }
    bool startServer()
    {
        m_stopped = !server.start();
        return !m_stopped;
    }

    // Runs a statement on the server as its superuser, over a connection of its own; no rows
    // when the server does not answer.
    Rows serverRows(const QString& statement) const
    {
        const QString name = QStringLiteral("copy-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        Rows rows;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setConnectOptions(conninfo());
            if (db.open()) {
                QSqlQuery query(db);
                if (query.exec(statement))
                    rows = rowsOf(query);
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return rows;
    }
    bool onServer(const QString& statement) const { return server.run(statement, m_dbname); }
    Rows serverCount() const { return serverRows(QStringLiteral("select count(*) from XRRecord")); }

    static test::PgServer server;
    static int s_databases;
    ServerLink link;

private:
    QString m_dbname;
    bool m_stopped = false;
};

test::PgServer ServerCopy::server;
int ServerCopy::s_databases = 0;

Rows one(const QString& value)
{
    return Rows{{value}};
}

// As both databases give the day count back: its shortest exact text.
QString dayText(double day)
{
    return QString::number(day, 'g', QLocale::FloatingPointShortest);
}

TEST_F(ServerCopy, TwoStationsRecordingAtOnceLeaveEveryRecordOnceUnderItsStation)
{
    Station pc1(QStringLiteral("pc1"));
    Station pc2(QStringLiteral("pc2"));
    ServerSyncThread sync1(link, pc1.setup(conninfo()));
    ServerSyncThread sync2(link, pc2.setup(conninfo()));
    sync1.start();
    sync2.start();
    constexpr int kRecords = 40;
    for (int n = 0; n < kRecords; ++n) {
        // The same identifiers on both PCs: made from two clocks, they can coincide.
        const QString id = QStringLiteral("2024%1").arg(n, 6, 10, QLatin1Char('0'));
        const double start = kDay + n / 1440.0;
        pc1.open(id, start);
        pc2.open(id, start + 0.5 / 1440.0, n % 4 != 0);
        pc1.end(id, start + 0.7 / 1440.0, 1000 + n, 10 + n);
        QTest::qWait(60); // the recording goes on across several copies
        pc2.end(id, start + 0.9 / 1440.0, 2000 + n, 20 + n);
    }
    ASSERT_TRUE(test::waitUntil([&] { return !pc1.pending() && !pc2.pending(); }));

    EXPECT_EQ(serverRows(QStringLiteral("select Station, count(*), count(distinct RecordId) from XRRecord "
                                        "group by Station order by Station")),
              (Rows{{QStringLiteral("pc1"), QStringLiteral("40"), QStringLiteral("40")},
                    {QStringLiteral("pc2"), QStringLiteral("40"), QStringLiteral("40")}}));
    const QString records = QStringLiteral(
        "select Station, RecordId, Sdt, Edt, UserId, ConnName, RxBytes, TxBytes from XRRecord ");
    const Rows local = pc1.rows(records + QStringLiteral("order by RecordId")) +
                       pc2.rows(records + QStringLiteral("order by RecordId"));
    EXPECT_EQ(serverRows(records + QStringLiteral("order by Station, RecordId")), local)
        << "every record as its PC has it, the older ones under the PC's name";
    EXPECT_TRUE(link.answers());
}

TEST_F(ServerCopy, ARecordClosedWhileTheServerWasStoppedArrivesWholeAndOnce)
{
    Station pc(QStringLiteral("pc1"));
    ServerSyncThread sync(link, pc.setup(conninfo()));
    sync.start();
    pc.open(QStringLiteral("r1"), kDay);
    ASSERT_TRUE(test::waitUntil([&] { return serverCount() == one(QStringLiteral("1")); }));

    stopServer();
    const double end = kDay + 0.04;
    pc.end(QStringLiteral("r1"), end, 123456789012, 7890);
    ASSERT_TRUE(test::waitUntil([&] { return !link.answers(); })) << "the copy that failed is told";
    EXPECT_TRUE(link.problem().startsWith(QStringLiteral("无法连接服务器"))) << link.problem().toStdString();
    EXPECT_TRUE(pc.pending());

    ASSERT_TRUE(startServer());
    ASSERT_TRUE(test::waitUntil([&] { return !pc.pending(); }));
    EXPECT_EQ(
        serverRows(QStringLiteral("select Station, RecordId, Sdt, Edt, RxBytes, TxBytes from XRRecord")),
        (Rows{{QStringLiteral("pc1"), QStringLiteral("r1"), dayText(kDay), dayText(end),
               QStringLiteral("123456789012"), QStringLiteral("7890")}}));
    EXPECT_TRUE(test::waitUntil([&] { return link.answers(); }));
}

TEST_F(ServerCopy, AServerAwayAtTheStartGetsEveryRecordAndGivesItsAccountsOnceItAnswers)
{
    ASSERT_TRUE(
        onServer(QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark,PwReset) "
                                "values ('u-server','王芳','hash',0,1,'',0)")));
    ASSERT_TRUE(onServer(QStringLiteral("insert into XRAllowance values ('u-server',60,null,300)")));
    ASSERT_TRUE(
        onServer(QStringLiteral("insert into XRGrant values ('u-server',45500.25,30,'000000000000000001')")));
    Station pc(QStringLiteral("pc1"));
    for (int n = 0; n < 5; ++n) {
        pc.open(QStringLiteral("r%1").arg(n), kDay + n / 24.0);
        pc.end(QStringLiteral("r%1").arg(n), kDay + (n + 0.5) / 24.0, 100, 10);
    }
    QSignalSpy problems(&link, &ServerLink::problemFound);
    stopServer();
    ServerSyncThread sync(link, pc.setup(conninfo()));
    sync.start();
    ASSERT_TRUE(test::waitUntil([&] { return !link.answers(); }));
    QTest::qWait(2 * ServerSync::kTickMs + 500); // a few more tries while it is away
    const QString users =
        QStringLiteral("select UserId, UserName, UserPw, Admin, Enabled, PwReset from XRUser "
                       "order by UserId");
    EXPECT_EQ(pc.rows(users).size(), 2) << "the accounts this PC had stay while the server is away";

    ASSERT_TRUE(startServer());
    ASSERT_TRUE(test::waitUntil([&] { return !pc.pending(); }));
    EXPECT_EQ(
        serverRows(QStringLiteral("select Station, count(*), sum(RxBytes) from XRRecord group by Station")),
        (Rows{{QStringLiteral("pc1"), QStringLiteral("5"), QStringLiteral("500")}}));
    ASSERT_TRUE(test::waitUntil([&] { return pc.rows(users).size() == 3; }));
    EXPECT_EQ(pc.rows(users), serverRows(users)) << "the server's accounts, its administrator's password too";
    EXPECT_EQ(
        pc.rows(QStringLiteral("select UserId, DayMinutes, WeekMinutes, MonthMinutes from XRAllowance")),
        (Rows{{QStringLiteral("u-server"), QStringLiteral("60"), QString(), QStringLiteral("300")}}));
    EXPECT_EQ(pc.rows(QStringLiteral("select UserId, Granted, Minutes from XRGrant")),
              (Rows{{QStringLiteral("u-server"), QStringLiteral("45500.25"), QStringLiteral("30")}}));
    EXPECT_TRUE(test::waitUntil([&] { return link.answers(); }));
    ASSERT_FALSE(problems.isEmpty());
    EXPECT_TRUE(problems.first().first().toString().startsWith(QStringLiteral("无法连接服务器")));
}

TEST_F(ServerCopy, ADayOfflineUploadsAThousandRecordsOnceAndADropMidCopyLeavesNoHalfBatch)
{
    Station pc(QStringLiteral("pc1"));
    pc.run(QStringLiteral("begin"));
    for (int n = 0; n < 1000; ++n) {
        const QString id = QStringLiteral("2024%1").arg(n, 6, 10, QLatin1Char('0'));
        pc.open(id, kDay + n / 1000.0, n % 2 == 0);
        if (n % 3 != 0)
            pc.end(id, kDay + (n + 0.5) / 1000.0, 5000 + n, 50 + n);
    }
    pc.run(QStringLiteral("commit"));
    // The server ends the connection in the middle of the second batch.
    ASSERT_TRUE(onServer(QStringLiteral(
        "create function drop_midway() returns trigger language plpgsql as $$ begin "
        "if (select count(*) from XRRecord) >= 700 then perform pg_terminate_backend(pg_backend_pid()); "
        "perform pg_sleep(5); end if; return new; end $$")));
    ASSERT_TRUE(onServer(QStringLiteral(
        "create trigger drop_midway before insert on XRRecord for each row execute function drop_midway()")));

    ServerDatabase connection(QStringLiteral("copy-offline"));
    ASSERT_EQ(connection.open(conninfo()), ServerAnswer::Answered) << connection.problem().toStdString();
    RecordCopy dropped(pc.connection(), connection.connection(), QStringLiteral("pc1"));
    EXPECT_THROW(dropped.copyPending(), DatabaseError);
    EXPECT_EQ(serverCount(), one(QStringLiteral("500")))
        << "the first batch committed, nothing of the second";
    EXPECT_EQ(pc.rows(QStringLiteral("select count(*) from XRRecord where Revision <> CopiedRevision")),
              one(QStringLiteral("500")));

    ASSERT_TRUE(onServer(QStringLiteral("drop trigger drop_midway on XRRecord")));
    ASSERT_EQ(connection.open(conninfo()), ServerAnswer::Answered);
    RecordCopy copy(pc.connection(), connection.connection(), QStringLiteral("pc1"));
    EXPECT_EQ(copy.copyPending(), 500);
    EXPECT_EQ(copy.copyPending(), 0) << "a second pass copies nothing";
    EXPECT_FALSE(copy.pending());
    const QString records = QStringLiteral(
        "select Station, RecordId, Sdt, Edt, UserId, RxBytes, TxBytes from XRRecord order by RecordId");
    const Rows server = serverRows(records);
    EXPECT_EQ(server.size(), 1000);
    EXPECT_EQ(server, pc.rows(records));
}

TEST_F(ServerCopy, AnAdministratorsChangesOutliveTheStationsLaterCopies)
{
    Station pc(QStringLiteral("pc1"));
    ServerSyncThread sync(link, pc.setup(conninfo()));
    sync.start();
    for (const QString& id : {QStringLiteral("given"), QStringLiteral("deleting"), QStringLiteral("deleted")})
        pc.open(id, kDay);
    ASSERT_TRUE(test::waitUntil([&] { return serverCount() == one(QStringLiteral("3")); }));

    ASSERT_TRUE(onServer(
        QStringLiteral("update XRRecord set UserId = 'boss', Assigned = 1 where RecordId = 'given'")));
    ASSERT_TRUE(
        onServer(QStringLiteral("with gone as (delete from XRRecord where RecordId = 'deleted' "
                                "returning Station, RecordId) insert into XRRecordGone select * from gone")));
    // This deletion is under way while the station copies the same record.
    QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("copy-admin"));
    admin.setConnectOptions(conninfo());
    ASSERT_TRUE(admin.open());
    ASSERT_TRUE(admin.transaction());
    ASSERT_TRUE(
        QSqlQuery(admin).exec(QStringLiteral("with gone as (delete from XRRecord where RecordId = 'deleting' "
                                             "returning Station, RecordId) insert into XRRecordGone "
                                             "select * from gone")));
    pc.run(QStringLiteral("update XRRecord set UserId = 'carol'"));
    pc.end(QStringLiteral("given"), kDay + 0.01);
    pc.end(QStringLiteral("deleting"), kDay + 0.01);
    pc.end(QStringLiteral("deleted"), kDay + 0.01);
    ASSERT_TRUE(test::waitUntil([&] {
        return serverRows(
                   QStringLiteral("select count(*) from pg_stat_activity where application_name = 'xarvane' "
                                  "and wait_event_type = 'Lock'")) == one(QStringLiteral("1"));
    })) << "the station's copy waits for the deletion";
    EXPECT_TRUE(admin.commit());
    admin.close();
    admin = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("copy-admin"));
    ASSERT_TRUE(test::waitUntil([&] { return !pc.pending(); }));

    const QString records = QStringLiteral("select RecordId, UserId, Edt from XRRecord order by RecordId");
    EXPECT_EQ(serverRows(records),
              (Rows{{QStringLiteral("given"), QStringLiteral("boss"), dayText(kDay + 0.01)}}));
    pc.end(QStringLiteral("given"), kDay + 0.02);
    pc.end(QStringLiteral("deleting"), kDay + 0.02);
    pc.end(QStringLiteral("deleted"), kDay + 0.02);
    ASSERT_TRUE(test::waitUntil([&] { return !pc.pending(); }));
    EXPECT_EQ(serverRows(records),
              (Rows{{QStringLiteral("given"), QStringLiteral("boss"), dayText(kDay + 0.02)}}))
        << "the end time keeps coming, the owner stays the administrator's, the deleted stay away";
}

} // namespace
} // namespace xr
