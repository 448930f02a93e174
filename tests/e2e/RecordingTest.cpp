// The real program records connections made through the simulated dial-up service.
#include "ProgramFolder.h"

#include "store/DayCount.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>

namespace xr::test {
namespace {

constexpr double kTwoSeconds = 2.0 / 86400.0;

double nowDays() { return toDayCount(QDateTime::currentDateTime()); }

class RecordingEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0); }

    QList<QStringList> records()
    {
        return folder.rows(QStringLiteral("select UserId, Sdt, Edt, ConnName from XRRecord order by Sdt"));
    }
    bool waitForRecords(qsizetype count)
    {
        return ProgramFolder::waitUntil([&] { return records().size() == count; });
    }
    bool waitForEnd(qsizetype row)
    {
        return ProgramFolder::waitUntil([&] {
            const auto rows = records();
            return rows.size() > row && rows[row][2].toDouble() > rows[row][1].toDouble();
        });
    }

    ProgramFolder folder;
};

TEST_F(RecordingEndToEnd, ConnectAndDisconnectLeaveOneAnonymousRow)
{
    ASSERT_TRUE(folder.start());
    const double connected = nowDays();
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(waitForRecords(1));
    QThread::msleep(1500);
    const double disconnected = nowDays();
    ASSERT_EQ(folder.sim({QStringLiteral("disconnect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(waitForEnd(0));

    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0], QStringLiteral("000000000000000002"));
    EXPECT_EQ(rows[0][3], QStringLiteral("Office"));
    EXPECT_NEAR(rows[0][1].toDouble(), connected, kTwoSeconds);
    EXPECT_NEAR(rows[0][2].toDouble(), disconnected, kTwoSeconds);
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

// A VPN over the dial-up line: each connection has its row, ended when that connection ends.
TEST_F(RecordingEndToEnd, OverlappingConnectionsEachEndTheirOwnRow)
{
    ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("VPN")}), 0);
    ASSERT_TRUE(folder.start());
    const double officeUp = nowDays();
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(waitForRecords(1));
    QThread::msleep(1200);
    const double vpnUp = nowDays();
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("VPN")}), 0);
    ASSERT_TRUE(waitForRecords(2));
    QThread::msleep(1500);
    const double officeDown = nowDays();
    ASSERT_EQ(folder.sim({QStringLiteral("disconnect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(waitForEnd(0));
    EXPECT_EQ(records()[1][2], records()[1][1]) << "the VPN's row stays open";
    QThread::msleep(1500);
    const double vpnDown = nowDays();
    ASSERT_EQ(folder.sim({QStringLiteral("disconnect"), QStringLiteral("VPN")}), 0);
    ASSERT_TRUE(waitForEnd(1));

    const auto rows = records();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][3], QStringLiteral("Office"));
    EXPECT_NEAR(rows[0][1].toDouble(), officeUp, kTwoSeconds);
    EXPECT_NEAR(rows[0][2].toDouble(), officeDown, kTwoSeconds);
    EXPECT_EQ(rows[1][3], QStringLiteral("VPN"));
    EXPECT_NEAR(rows[1][1].toDouble(), vpnUp, kTwoSeconds);
    EXPECT_NEAR(rows[1][2].toDouble(), vpnDown, kTwoSeconds);
    EXPECT_LT(rows[0][2].toDouble(), rows[1][2].toDouble());
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
    EXPECT_EQ(folder.unexpectedPrompts(), QStringList());
}

TEST_F(RecordingEndToEnd, StopWhileConnectedEndsTheRowAndTheNextStartOpensAnother)
{
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(folder.start());
    ASSERT_TRUE(waitForRecords(1));
    QThread::msleep(1200);
    const double stopped = nowDays();
    folder.terminate();
    ASSERT_TRUE(folder.waitForExit());
    EXPECT_EQ(folder.program().exitCode(), 0);
    auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_NEAR(rows[0][2].toDouble(), stopped, kTwoSeconds);
    EXPECT_GT(rows[0][2].toDouble(), rows[0][1].toDouble());

    ASSERT_TRUE(folder.start());
    ASSERT_TRUE(waitForRecords(2));
    rows = records();
    EXPECT_EQ(rows[1][0], QStringLiteral("000000000000000002"));
    EXPECT_EQ(rows[1][3], QStringLiteral("Office"));
    EXPECT_GT(rows[1][1].toDouble(), rows[0][2].toDouble());
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

TEST_F(RecordingEndToEnd, KilledProgramLeavesAnIntactDatabase)
{
    ASSERT_TRUE(folder.start());
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(waitForRecords(1));
    folder.kill();
    EXPECT_EQ(folder.rows(QStringLiteral("pragma integrity_check")), QList<QStringList>{{QStringLiteral("ok")}});
    EXPECT_EQ(records().size(), 1);
}

TEST_F(RecordingEndToEnd, AutomaticBackupIsAValidCopyAfterADisconnect)
{
    folder.setSetting(QStringLiteral("AutoBackup"), 1);
    ASSERT_TRUE(folder.start());
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(waitForRecords(1));
    QThread::msleep(1100);
    ASSERT_EQ(folder.sim({QStringLiteral("disconnect"), QStringLiteral("--all")}), 0);
    const QString copy = folder.path(QStringLiteral("AutoBackupXRDB.mdb"));
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return QFile::exists(copy); }));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("copy"));
    db.setDatabaseName(copy);
    ASSERT_TRUE(db.open());
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(QStringLiteral("pragma integrity_check")) && query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("ok"));
    ASSERT_TRUE(query.exec(QStringLiteral("select Edt > Sdt from XRRecord")) && query.next());
    EXPECT_EQ(query.value(0).toInt(), 1) << "the copy holds the closed record";
    query = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("copy"));
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

} // namespace
} // namespace xr::test
