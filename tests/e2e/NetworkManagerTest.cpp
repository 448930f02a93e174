// The real program on a desktop's NetworkManager (its mock on a private system bus), chosen
// without being named; and the simulated service chosen where NetworkManager does not answer.
#include "NmMockTest.h"
#include "ProgramFolder.h"

#include "store/DayCount.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QThread>

namespace xr::test {
namespace {

constexpr double kTwoSeconds = 2.0 / 86400.0;
constexpr unsigned kExternal = 0x80;

double nowDays()
{
    return toDayCount(QDateTime::currentDateTime());
}

class NetworkManagerEndToEnd : public NmMockTest {
protected:
    void SetUp() override
    {
        NmMockTest::SetUp();
        if (!ready())
            return;
        folder.setEnvironment(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), mock.busAddress());
        folder.setEnvironment(QStringLiteral("XARVANE_RAS"), QString()); // chosen by what answers
        addOffice();
    }

    void addOffice()
    {
        eth0 = mock.addEthernetDevice(QStringLiteral("eth0"), QStringLiteral("eth0"));
        office = mock.addProfile(QStringLiteral("Office"), QStringLiteral("802-3-ethernet"));
    }

    QList<QStringList> records()
    {
        return folder.rows(QStringLiteral("select UserId, Sdt, Edt, ConnName from XRRecord order by Sdt"));
    }
    bool waitForRecords(qsizetype count, int timeoutMs = 15000)
    {
        return ProgramFolder::waitUntil([&] { return records().size() == count; }, timeoutMs);
    }
    bool waitForEnd(qsizetype row)
    {
        return ProgramFolder::waitUntil([&] {
            const auto rows = records();
            return rows.size() > row && rows[row][2].toDouble() > rows[row][1].toDouble();
        });
    }
    void stopProgram()
    {
        folder.terminate();
        EXPECT_TRUE(folder.waitForExit());
    }

    ProgramFolder folder;
    QString eth0;
    QString office;
};

TEST_F(NetworkManagerEndToEnd, ADialUpProfileActivatedOutsideIsRecordedWithItsNameAndWiredLoopbackAndBridgesNot)
{
    ASSERT_TRUE(folder.start());
    mock.activate(office, eth0); // up all day: no dial-up connection
    mock.activate(mock.addProfile(QStringLiteral("lo"), QStringLiteral("loopback")),
                  mock.addEthernetDevice(QStringLiteral("lo"), QStringLiteral("lo")));
    mock.activate(mock.addProfile(QStringLiteral("docker0"), QStringLiteral("bridge")),
                  mock.addEthernetDevice(QStringLiteral("docker0"), QStringLiteral("docker0")), 2, kExternal);
    QThread::msleep(1500);
    EXPECT_TRUE(records().isEmpty()) << "wired, loopback and a container bridge are not dial-up connections";

    const QString dsl = mock.addProfile(QStringLiteral("DSL"), QStringLiteral("pppoe"));
    const double connected = nowDays();
    const QString active = mock.activate(dsl, eth0);
    ASSERT_TRUE(waitForRecords(1, 2000)) << "recorded within two seconds";
    QThread::msleep(1500);
    const double disconnected = nowDays();
    mock.deactivate(active);
    ASSERT_TRUE(waitForEnd(0));

    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0], QStringLiteral("000000000000000002"));
    EXPECT_EQ(rows[0][3], QStringLiteral("DSL"));
    EXPECT_NEAR(rows[0][1].toDouble(), connected, kTwoSeconds);
    EXPECT_NEAR(rows[0][2].toDouble(), disconnected, kTwoSeconds);
    stopProgram();
    EXPECT_TRUE(folder.errorOutput().contains(QStringLiteral("dial-up back-end: NetworkManager")));
}

TEST_F(NetworkManagerEndToEnd, TwoConnectionsAtOnceRaiseARowEachAndEachIsClosed)
{
    folder.setSetting(QStringLiteral("RecordLan"), 1); // wired and Wi-Fi count too
    ASSERT_TRUE(folder.start());
    const QString wired = mock.activate(office, eth0);
    ASSERT_TRUE(waitForRecords(1));
    const QString wifi =
        mock.activate(mock.addProfile(QStringLiteral("Home"), QStringLiteral("802-11-wireless")),
                      mock.addEthernetDevice(QStringLiteral("wlan0"), QStringLiteral("wlan0")));
    ASSERT_TRUE(waitForRecords(2));
    QThread::msleep(1200);
    mock.deactivate(wired);
    mock.deactivate(wifi);
    ASSERT_TRUE(waitForEnd(0));
    ASSERT_TRUE(waitForEnd(1));

    const auto rows = records();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][3], QStringLiteral("Office"));
    EXPECT_EQ(rows[1][3], QStringLiteral("Home"));
    EXPECT_GT(rows[0][2].toDouble(), rows[1][1].toDouble()) << "the earlier row ends at its own end";
    stopProgram();
}

TEST_F(NetworkManagerEndToEnd, TheServiceGoingAwayAndComingBackLosesNoRecord)
{
    folder.setSetting(QStringLiteral("RecordLan"), 1);
    ASSERT_TRUE(folder.start());
    mock.activate(office, eth0);
    ASSERT_TRUE(waitForRecords(1));

    mock.stopService();
    QThread::msleep(3000);
    ASSERT_EQ(folder.program().state(), QProcess::Running);
    ASSERT_TRUE(mock.startService(true));
    QThread::msleep(2500); // polls of a service that is still starting
    addOffice();
    const QString active = mock.activate(office, eth0); // the connection stayed up meanwhile
    mock.finishStartup();
    QThread::msleep(2500);
    EXPECT_EQ(records().size(), 1) << "the same connection, not a new one";

    const double disconnected = nowDays();
    mock.deactivate(active);
    ASSERT_TRUE(waitForEnd(0));
    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_NEAR(rows[0][2].toDouble(), disconnected, kTwoSeconds);
    stopProgram();
    const qsizetype reports = folder.errorOutput().count(QStringLiteral("Error Code 3100"));
    EXPECT_EQ(reports, 1) << "the failed polls are reported once";
}

// Two people signed in at once (fast user switching) each run a copy, and both see the PC's one
// connection: only the copy whose session is in front records it.
TEST_F(NetworkManagerEndToEnd, OnlyTheCopyWhoseSessionIsInFrontRecordsTheConnection)
{
    ASSERT_TRUE(mock.startLogind());
    mock.addLoginSession(QStringLiteral("c7"), true);
    folder.setEnvironment(QStringLiteral("XDG_SESSION_ID"), QStringLiteral("c7"));
    ASSERT_TRUE(folder.start());
    const QString active = mock.activate(mock.addProfile(QStringLiteral("DSL"), QStringLiteral("pppoe")), eth0);
    ASSERT_TRUE(waitForRecords(1));
    QThread::msleep(1200);

    const double switchedAway = nowDays();
    mock.setLoginSessionActive(QStringLiteral("c7"), false); // another person's session comes to the front
    ASSERT_TRUE(waitForEnd(0));
    EXPECT_NEAR(records()[0][2].toDouble(), switchedAway, kTwoSeconds);
    QThread::msleep(1500);
    EXPECT_EQ(records().size(), 1) << "nothing is recorded while the session is behind";

    const double back = nowDays();
    mock.setLoginSessionActive(QStringLiteral("c7"), true);
    ASSERT_TRUE(waitForRecords(2));
    EXPECT_NEAR(records()[1][1].toDouble(), back, kTwoSeconds);
    mock.deactivate(active);
    ASSERT_TRUE(waitForEnd(1));
    stopProgram();
}

TEST(NetworkManagerAbsent, TheSimulatedServiceIsChosen)
{
    NmMock bus;
    if (!bus.available())
        GTEST_SKIP() << bus.whyUnavailable().toStdString();
    ASSERT_TRUE(bus.running()) << bus.whyUnavailable().toStdString();
    bus.stopService(); // a system bus without NetworkManager
    ProgramFolder folder;
    folder.setEnvironment(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), bus.busAddress());
    folder.setEnvironment(QStringLiteral("XARVANE_RAS"), QString());
    ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(folder.start());
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    EXPECT_TRUE(ProgramFolder::waitUntil([&] {
        return folder.rows(QStringLiteral("select ConnName from XRRecord")) ==
               QList<QStringList>{{QStringLiteral("Office")}};
    }));
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
    EXPECT_TRUE(folder.errorOutput().contains(QStringLiteral("dial-up back-end: simulated")));
}

} // namespace
} // namespace xr::test
