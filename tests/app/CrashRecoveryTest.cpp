// The heartbeat file while a record is open, with a set clock, and the start after a crash.
#include "TrayFixture.h"

#include "store/Heartbeat.h"
#include "store/Identifiers.h"

#include <QFile>

namespace xr::test {
namespace {

class CrashRecovery : public TrayFixture {
protected:
    QString heartbeatFile() const { return context.appPath + kHeartbeatFileName; }
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
    EXPECT_EQ(heartbeat()->Sdt, sdt);
    EXPECT_EQ(heartbeat()->ConnName, QStringLiteral("Office"));
    EXPECT_EQ(heartbeat()->UserId, kAnonymousUserId);
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
    tray->recorder().handOverOpenRecord();
    EXPECT_EQ(heartbeat()->UserId, QStringLiteral("20261209080000123"));

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

// A crash left a record whose end is its start; the start gives it the moment last seen before
// it records the connection that is still up, under a heartbeat of its own.
TEST_F(CrashRecovery, StartAfterACrashEndsTheOldRecordFirst)
{
    createDatabase();
    startTray();
    ras.addConnection("Office");
    poll();
    const double crashedStart = now();
    tickFor(70);
    const double lastSeen = heartbeat()->lastSeen;
    EXPECT_EQ(lastSeen, crashedStart + 60.0 / 86400.0);
    tray.reset(); // as after kill -9: nothing more is written
    ASSERT_TRUE(QFile::exists(heartbeatFile()));

    advanceSeconds(5);
    startTray();
    const auto rows = records();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].edt, lastSeen);
    EXPECT_EQ(rows[1].sdt, now());
    EXPECT_EQ(heartbeat()->Sdt, rows[1].sdt);
}

} // namespace
} // namespace xr::test
