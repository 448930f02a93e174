// The tray controller's start-up, its timers and its stops, with the recorder behind them.
#include "TrayFixture.h"

#include "common/ErrorReporting.h"
#include "store/DatabaseCopy.h"
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
    QTimer::singleShot(0, tray.get(), [this] { tray->winTray().pmiExitClick(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(2); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(tray->adoConnMain().isOpen());
    EXPECT_EQ(ras.connections.size(), 1u) << "the connection stays up";
    tray->adoConnMain().open(context.appPath + QStringLiteral("XRDB.mdb"));
    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].edt, now());
}

// A restore by the signed-in administrator from a backup of the database as it was at the start,
// with the recorder running behind it.
class TrayRestore : public TrayFixture {
protected:
    void SetUp() override
    {
        createDatabase();
        startTray();
        ASSERT_TRUE(backupDatabase(tray->adoConnMain().connection(), backup()));
        context.currentConnection.UserId = kBuiltInUserId;
        context.currentConnection.UserName = QStringLiteral("admin");
        context.currentConnection.Admin = true;
        prompter.answers << PromptAnswer::Yes;
        prompter.fileAnswers << FileChoice{backup(), 0};
    }

    QString backup() const { return context.appPath + QStringLiteral("old.mdb"); }

    // The notifier's poll, its errors shown as the program's general error handling shows them.
    void poll()
    {
        reportErrors(prompter, [this] { tray->RASNotify().Poll(); });
    }
    void connectionComesUpWhileShowing(const QString& shown)
    {
        prompter.meanwhile.insert(shown, [this] {
            ras.addConnection("Office");
            poll();
        });
    }
    QList<Prompt> errors() const
    {
        QList<Prompt> found;
        for (const Prompt& prompt : prompter.prompts)
            if (prompt.kind == PromptKind::Error)
                found << prompt;
        return found;
    }
};

TEST_F(TrayRestore, AConnectionThatComesUpDuringTheFileDialogStopsTheRestoreAndKeepsItsRow)
{
    connectionComesUpWhileShowing(QStringLiteral("XR恢复数据库"));
    EXPECT_FALSE(tray->backupRestore().actComebackExecute());
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Information);
    EXPECT_EQ(prompter.prompts.last().text, QStringLiteral("连接状态下不允许恢复！"));
    EXPECT_TRUE(context.currentConnection.signedIn());
    const double start = now();

    advanceSeconds(75);
    ras.connections.clear();
    poll();
    tray->recorder().tmConnTimer();
    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].userId, kBuiltInUserId);
    EXPECT_EQ(rows[0].sdt, start);
    EXPECT_EQ(rows[0].edt, now()) << "the end time lands on the row";
    EXPECT_TRUE(errors().isEmpty());
}

// The database is open again, and nobody signed in, before the outcome is told.
TEST_F(TrayRestore, AConnectionThatComesUpWhileTheOutcomeShowsIsRecordedInTheRestoredDatabase)
{
    connectionComesUpWhileShowing(QStringLiteral("数据库文件恢复成功！请按恢复数据库的用户重新登录！"));
    EXPECT_TRUE(tray->backupRestore().actComebackExecute());
    EXPECT_TRUE(errors().isEmpty()) << errors().value(0).text.toStdString();
    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].userId, kAnonymousUserId);
    EXPECT_EQ(rows[0].connName, QStringLiteral("Office"));
    EXPECT_EQ(rows[0].sdt, now());
    EXPECT_TRUE(windows.calls.contains(QStringLiteral("login 3")));
}

} // namespace
} // namespace xr::test
