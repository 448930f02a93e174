// The real program killed with SIGKILL while connected: the next start gives the record the end
// time that the heartbeat kept, unless the periodic saving wrote a later one.
#include "ProgramFolder.h"

#include "store/DayCount.h"
#include "store/Heartbeat.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QThread>

namespace xr::test {
namespace {

constexpr double kSecond = 1.0 / 86400.0;

double nowDays()
{
    return toDayCount(QDateTime::currentDateTime());
}

class CrashEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0);
    }

    QList<QStringList> records()
    {
        return folder.rows(QStringLiteral("select Sdt, Edt from XRRecord order by Sdt"));
    }
    double end(qsizetype row) { return records().value(row).value(1).toDouble(); }
    bool waitForRecords(qsizetype count)
    {
        return ProgramFolder::waitUntil([&] { return records().size() == count; });
    }
    QString heartbeatFile() { return folder.path(heartbeatFileName()); }
    // Kills the program, keeps what it said, and returns the moment of the kill.
    double crash()
    {
        const double killed = nowDays();
        folder.kill();
        errors += folder.errorOutput();
        return killed;
    }
    bool restart()
    {
        if (folder.program().state() != QProcess::NotRunning) {
            folder.terminate();
            folder.waitForExit();
            errors += folder.errorOutput();
        }
        return folder.start();
    }
    int connect() { return folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}); }
    int disconnect() { return folder.sim({QStringLiteral("disconnect"), QStringLiteral("--all")}); }

    ProgramFolder folder;
    QString errors;
};

// One run per case, since each has to last past the heartbeat's period: without the periodic
// saving the heartbeat ends the record; a crash with nothing connected leaves nothing to do;
// with the saving every two minutes, the saved end stays when it is the later one.
TEST_F(CrashEndToEnd, KilledWhileConnectedLosesAtMostTheHeartbeatPeriod)
{
    ASSERT_TRUE(folder.start());
    ASSERT_EQ(connect(), 0);
    ASSERT_TRUE(waitForRecords(1));
    QThread::sleep(70);
    const double firstKill = crash();
    ASSERT_EQ(end(0), records()[0][0].toDouble()) << "nothing wrote the end before the crash";
    const std::optional<Heartbeat> firstBeat = readHeartbeat(heartbeatFile());
    ASSERT_TRUE(firstBeat);

    folder.setSetting(QStringLiteral("TimeRecord"), 1);
    folder.setSetting(QStringLiteral("Interval"), 2);
    ASSERT_EQ(disconnect(), 0);
    ASSERT_TRUE(restart());
    // The reconciliation runs just after the database opens; it ends by removing the heartbeat.
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return !QFile::exists(heartbeatFile()); }));
    EXPECT_EQ(end(0), firstBeat->lastSeen);
    EXPECT_NEAR(end(0), firstKill, 35 * kSecond);
    EXPECT_LT(end(0), firstKill);

    // Nothing connected: nothing to reconcile after a crash.
    const QList<QStringList> settled = records();
    crash();
    EXPECT_FALSE(QFile::exists(heartbeatFile()));
    ASSERT_TRUE(restart());
    EXPECT_EQ(records(), settled);

    // Connected a quarter of a minute after the start: the saving at two minutes comes after
    // the heartbeat of 105 s and before the one of 135 s.
    QThread::sleep(15);
    ASSERT_EQ(connect(), 0);
    ASSERT_TRUE(waitForRecords(2));
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return end(1) > records()[1][0].toDouble(); }, 125000));
    QThread::sleep(3);
    const double secondKill = crash();
    const double saved = end(1);
    const std::optional<Heartbeat> secondBeat = readHeartbeat(heartbeatFile());
    ASSERT_TRUE(secondBeat);
    EXPECT_LT(secondBeat->lastSeen, saved);

    ASSERT_EQ(disconnect(), 0);
    ASSERT_TRUE(restart());
    // The reconciliation runs just after the database opens; it ends by removing the heartbeat.
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return !QFile::exists(heartbeatFile()); }));
    EXPECT_EQ(end(1), saved);
    EXPECT_NEAR(end(1), secondKill, 35 * kSecond);
    EXPECT_EQ(records().size(), 2);
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
    errors += folder.errorOutput();
    EXPECT_FALSE(errors.contains(heartbeatFileName())) << errors.toStdString();
}

} // namespace
} // namespace xr::test
