// The tray controller's start-up, its timers and its stops, with the recorder behind them.
#include "TrayFixture.h"

#include "store/Identifiers.h"

#include <QCoreApplication>
#include <QTimer>

namespace xr::test {
namespace {

using TrayStart = TrayFixture;

TEST_F(TrayStart, MissingDatabaseShowsTheErrorAndStops)
{
    startTray();
    EXPECT_FALSE(tray->databaseOpened());
    EXPECT_TRUE(tray->databaseFailed());
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Error);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("无法连接数据库！请与系统管理员联系！"));
}

TEST_F(TrayStart, RecordTimerFollowsTheIntervalSetting)
{
    createDatabase();
    startTray();
    EXPECT_TRUE(tray->databaseOpened());
    EXPECT_EQ(tray->tmRecord().interval(), 6 * 60000);
    EXPECT_TRUE(tray->tmRecord().isActive());
    EXPECT_FALSE(tray->tmConn().isActive());
    EXPECT_EQ(tray->RASNotify().PollInterval(), 1000);
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

// Each connected connection gets a record; one still dialing gets its record when it connects.
TEST_F(TrayStart, ConnectionsUpAtStartOpenAnonymousRecordsAtTheStartTime)
{
    createDatabase();
    ras.addConnection("Dial A");
    ras.addConnection("Dialing", platform::ras::StateOpenPort);
    ras.addConnection("Dial B");
    startTray();
    const auto rows = records();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].userId, kAnonymousUserId);
    EXPECT_EQ(rows[0].connName, QStringLiteral("Dial A"));
    EXPECT_EQ(rows[0].sdt, now());
    EXPECT_EQ(rows[0].edt, now());
    EXPECT_EQ(rows[1].userId, kAnonymousUserId);
    EXPECT_EQ(rows[1].connName, QStringLiteral("Dial B"));
    EXPECT_GT(rows[1].sdt, rows[0].sdt);
    EXPECT_EQ(context.currentConnection.ConnName, QStringLiteral("Dial B"));
    EXPECT_TRUE(tray->tmConn().isActive());
    EXPECT_EQ(windows.calls, QStringList{QStringLiteral("notice 0")}) << "one notice, but no sign-in dialog";
}

TEST_F(TrayStart, AFailedFirstLookIsToldOnceAndTheStartUpGoesOnToRecordLaterConnections)
{
    createDatabase();
    ras.addConnection("Office");
    ras.enumConnectionsResult = 621;
    startTray();
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("Could not enumerate connections.\r\nError Code 621"));
    EXPECT_TRUE(tray->databaseOpened());
    EXPECT_TRUE(tray->tmRecord().isActive());
    EXPECT_TRUE(records().isEmpty());

    tray->RASNotify().Poll();
    ras.enumConnectionsResult = 0;
    advanceSeconds(5);
    tray->RASNotify().Poll();
    EXPECT_EQ(prompter.prompts.size(), 1) << "a service still failing is not told again";
    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].connName, QStringLiteral("Office"));
    EXPECT_EQ(rows[0].sdt, now());
    EXPECT_TRUE(tray->tmConn().isActive());
}

TEST_F(TrayStart, ExitCommandWritesTheEndTimeAndEndsTheLoop)
{
    createDatabase();
    ras.addConnection("Office");
    startTray();
    advanceSeconds(90);
    QTimer::singleShot(0, tray.get(), [this] { tray->pmiExitClick(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(2); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(tray->adoConnMain().isOpen());
    EXPECT_EQ(ras.connections.size(), 1u) << "the connection stays up";
    tray->adoConnMain().open(context.appPath + QStringLiteral("XRDB.mdb"));
    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].edt, now());
}

} // namespace
} // namespace xr::test
