// The heartbeat file while a record is open, with a set clock, and the start after a crash.
#include "TrayFixture.h"

#include "store/Heartbeat.h"
#include "store/Identifiers.h"

#include <QFile>
#include <QSet>

namespace xr::test {
namespace {

class CrashRecovery : public TrayFixture {
protected:
    QString heartbeatFile() const { return context.appPath + heartbeatFileName(); }
    std::optional<Heartbeat> heartbeat() const { return readHeartbeat(heartbeatFile()); }
    void poll() { tray->RASNotify().Poll(); }
    void tickFor(int seconds)
    {
        for (int second = 0; second < seconds; ++second) {
            advanceSeconds(1);
            tray->recorder().tmConnTimer();
        }
    }
};

TEST_F(CrashRecovery, HeartbeatNamesTheOpenRecordEveryThirtySecondsAndGoesWithIt)
{
    createDatabase();
    startTray();
    const auto handle = ras.addConnection("Office");
    poll();
    const double sdt = now();
    ASSERT_TRUE(heartbeat());
    EXPECT_EQ(heartbeat()->records,
              (QList<HeartbeatRecord>{{sdt, QStringLiteral("Office"), kAnonymousUserId}}));
    EXPECT_EQ(heartbeat()->lastSeen, sdt);
    EXPECT_EQ(heartbeat()->database.path, context.appPath + kDatabaseFileName);

    tickFor(29);
    EXPECT_EQ(heartbeat()->lastSeen, sdt) << "not replaced before thirty seconds";
    tickFor(1);
    EXPECT_EQ(heartbeat()->lastSeen, now());
    tickFor(30);
    EXPECT_EQ(heartbeat()->lastSeen, now());
    EXPECT_EQ(records()[0].edt, sdt) << "the usage record itself is not written while connected";

    context.currentConnection.UserId = QStringLiteral("20261209080000123");
    tray->recorder().handOverOpenRecords();
    EXPECT_EQ(heartbeat()->records.value(0).UserId, QStringLiteral("20261209080000123"));

    ras.removeConnection(handle);
    poll();
    tickFor(1);
    EXPECT_EQ(records()[0].edt, now());
    EXPECT_FALSE(QFile::exists(heartbeatFile()));
}

// The program ends with its end time written; when the session goes on instead, the heartbeat
// comes back a period later.
TEST_F(CrashRecovery, WrittenEndTimeTakesThePlaceOfTheHeartbeat)
{
    createDatabase();
    startTray();
    ras.addConnection("Office");
    poll();
    tickFor(10);
    tray->queryEndSession();
    EXPECT_EQ(records()[0].edt, now());
    EXPECT_FALSE(QFile::exists(heartbeatFile()));
    tickFor(29);
    EXPECT_FALSE(QFile::exists(heartbeatFile()));
    tickFor(1);
    ASSERT_TRUE(heartbeat());
    EXPECT_EQ(heartbeat()->lastSeen, now());
}

// A crash left two records, of two connections, whose ends are their starts; the start gives
// each the moment last seen before it records the connections that are still up, under a
// heartbeat of their own.
TEST_F(CrashRecovery, StartAfterACrashEndsTheOldRecordsFirst)
{
    createDatabase();
    startTray();
    ras.addConnection("Office");
    poll();
    const double crashedStart = now();
    tickFor(10);
    ras.addConnection("VPN");
    poll();
    tickFor(60);
    ASSERT_TRUE(heartbeat());
    EXPECT_EQ(heartbeat()->records.size(), 2);
    const double lastSeen = heartbeat()->lastSeen;
    EXPECT_EQ(lastSeen, crashedStart + 70.0 / 86400.0);
    tray.reset(); // as after kill -9: nothing more is written
    ASSERT_TRUE(QFile::exists(heartbeatFile()));

    advanceSeconds(5);
    startTray();
    const auto rows = records();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].connName, QStringLiteral("Office"));
    EXPECT_EQ(rows[0].edt, lastSeen);
    EXPECT_EQ(rows[1].connName, QStringLiteral("VPN"));
    EXPECT_EQ(rows[1].edt, lastSeen);
    EXPECT_EQ(rows[2].sdt, now());
    EXPECT_GT(rows[3].sdt, rows[2].sdt);
    EXPECT_EQ(QSet<QString>({rows[2].connName, rows[3].connName}),
              QSet<QString>({QStringLiteral("Office"), QStringLiteral("VPN")}));
    ASSERT_TRUE(heartbeat());
    EXPECT_EQ(heartbeat()->records.size(), 2);
    EXPECT_EQ(heartbeat()->records.value(0).Sdt, rows[2].sdt);
    EXPECT_EQ(heartbeat()->records.value(1).Sdt, rows[3].sdt);
}

// Each record carries the bytes its connection moved: written with every end time, kept by the
// heartbeat for the start after a crash; a counter that starts again from zero adds on.
TEST_F(CrashRecovery, BytesGoWithEveryEndTimeAndTheHeartbeatAndACounterResetAddsOn)
{
    createDatabase();
    startTray();
    // Each row's "received/sent", NULL where unknown.
    const auto traffic = [this] {
        QStringList rows;
        QSqlQuery query(tray->adoConnMain().connection());
        query.exec(QStringLiteral("select coalesce(RxBytes, 'NULL') || '/' || coalesce(TxBytes, 'NULL') "
                                  "from XRRecord order by Sdt"));
        while (query.next())
            rows.append(query.value(0).toString());
        return rows;
    };
    const auto handle = ras.addConnection("Office");
    ras.setCounters(handle, {1000, 100}); // the interface had moved bytes before the record started
    ras.addConnection("VPN");             // its back-end cannot count
    poll();
    ras.setCounters(handle, {5000, 300});
    tray->recorder().writeEndTimesIfConnected();
    EXPECT_EQ(traffic(), (QStringList{QStringLiteral("4000/200"), QStringLiteral("NULL/NULL")}));

    ras.setCounters(handle, {50, 10}); // the interface was made anew
    tickFor(30);
    ASSERT_TRUE(heartbeat());
    EXPECT_EQ(heartbeat()->records.value(0).traffic, (platform::ByteCounts{4050, 210}));
    EXPECT_EQ(heartbeat()->records.value(1).traffic, std::nullopt);
    const double lastSeen = heartbeat()->lastSeen;
    tray.reset(); // killed: nothing more is written

    startTray();
    EXPECT_EQ(records().value(0).edt, lastSeen);
    EXPECT_EQ(traffic().value(0), QStringLiteral("4050/210")) << "the heartbeat's bytes, with its moment";
    EXPECT_EQ(traffic().value(1), QStringLiteral("NULL/NULL"));

    // The record of the new start counts from what the counters say now; a connection that has
    // ended can no longer be read, so its record keeps the bytes of the last reading.
    ras.setCounters(handle, {80, 30});
    tickFor(30);
    ras.setCounters(handle, {9000, 9000});
    ras.removeConnection(handle);
    poll();
    tickFor(1);
    const auto rows = records();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[2].connName, QStringLiteral("Office"));
    EXPECT_EQ(traffic().value(2), QStringLiteral("30/20"));
}

} // namespace
} // namespace xr::test
