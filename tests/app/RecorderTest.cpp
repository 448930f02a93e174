// Recording connections: rows inserted, kept current and closed, with a set clock.
#include "TrayFixture.h"

#include "connections/RecorderWindows.h"
#include "store/Identifiers.h"

namespace xr::test {
namespace {

class Recording : public TrayFixture {
protected:
    void SetUp() override
    {
        createDatabase();
        startTray();
        ASSERT_TRUE(tray->databaseOpened());
    }
    void poll() { tray->RASNotify().Poll(); }
    void tick() { tray->recorder().tmConnTimer(); }
};

TEST_F(Recording, ConnectWithNobodySignedInOpensAnAnonymousRow)
{
    ras.addConnection("Office");
    const double connectTime = now();
    poll();
    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].userId, kAnonymousUserId);
    EXPECT_EQ(rows[0].sdt, connectTime);
    EXPECT_EQ(rows[0].edt, connectTime);
    EXPECT_EQ(context.currentConnection.ConnName, QStringLiteral("Office"));
    EXPECT_TRUE(tray->tmConn().isActive());
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("close dial status"), QStringLiteral("sound 0"),
                                          QStringLiteral("login 3"), QStringLiteral("main connection Office")}));
}

TEST_F(Recording, SignedInUserOwnsTheRow)
{
    context.currentConnection.UserId = QStringLiteral("20040307090503045");
    ras.addConnection("Office");
    poll();
    EXPECT_EQ(records().value(0).userId, QStringLiteral("20040307090503045"));
    EXPECT_TRUE(windows.calls.contains(QStringLiteral("notice 2")));
    EXPECT_FALSE(windows.calls.contains(QStringLiteral("login 3")));
}

TEST_F(Recording, ShowingNoticeIsNotJoinedByAnother)
{
    windows.noticeShowing = true;
    ras.addConnection("Office");
    poll();
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("close dial status"), QStringLiteral("main connection Office")}));
}

TEST_F(Recording, DisconnectWritesTheEndAtTheFirstTick)
{
    const auto handle = ras.addConnection("Office");
    poll();
    advanceSeconds(5);
    windows.calls.clear();
    tick();
    EXPECT_EQ(records()[0].edt, records()[0].sdt) << "nothing is written while connected";
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("main commands online"), QStringLiteral("online time")}));
    windows.calls.clear();
    ras.removeConnection(handle);
    advanceSeconds(1);
    poll();
    advanceSeconds(1);
    const double endTime = now();
    tick();
    EXPECT_EQ(records()[0].edt, endTime);
    EXPECT_FALSE(tray->tmConn().isActive());
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("main commands offline"), QStringLiteral("notice 1"),
                                          QStringLiteral("banner")}));
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

// Every row whose connection is up is saved; one whose end the notifier has seen but no tick
// has written keeps the end last written.
TEST_F(Recording, PeriodicSavingOnlyWithTimeRecord)
{
    context.settings.TimeRecord = true;
    context.settings.Interval = 2;
    ras.addConnection("Office");
    ras.addConnection("VPN");
    poll();
    for (int minute = 2; minute <= 6; minute += 2) {
        advanceSeconds(120);
        tray->recorder().tmRecordTimer();
        for (const RecordRow& row : records())
            EXPECT_EQ(row.edt, now()) << row.connName.toStdString() << " after " << minute << " minutes";
    }
    const double lastWritten = now();
    context.settings.TimeRecord = false;
    advanceSeconds(120);
    tray->recorder().tmRecordTimer();
    EXPECT_EQ(records()[0].edt, lastWritten);
}

// The earlier connection ends first: its row ends then, and the later one is still shown. The
// disconnect notice, the banner and the stop of the timer wait for the last connection.
TEST_F(Recording, OverlappingConnectionsEachEndTheirOwnRow)
{
    const auto first = ras.addConnection("Office");
    poll();
    const double firstStart = now();
    advanceSeconds(10);
    const auto second = ras.addConnection("VPN");
    poll();
    const double secondStart = now();
    EXPECT_EQ(context.currentConnection.ConnName, QStringLiteral("VPN"));

    advanceSeconds(50);
    ras.removeConnection(first);
    poll();
    const double firstEnd = now();
    windows.calls.clear();
    tick();
    auto rows = records();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].connName, QStringLiteral("Office"));
    EXPECT_EQ(rows[0].sdt, firstStart);
    EXPECT_EQ(rows[0].edt, firstEnd);
    EXPECT_EQ(rows[1].sdt, secondStart);
    EXPECT_EQ(rows[1].edt, secondStart) << "the row still open is not written";
    EXPECT_TRUE(tray->tmConn().isActive());
    EXPECT_EQ(context.currentConnection.Sdt, secondStart);
    EXPECT_EQ(windows.calls,
              (QStringList{QStringLiteral("main commands online"), QStringLiteral("online time")}));

    advanceSeconds(30);
    ras.removeConnection(second);
    poll();
    windows.calls.clear();
    tick();
    rows = records();
    EXPECT_EQ(rows[0].edt, firstEnd);
    EXPECT_EQ(rows[1].edt, now());
    EXPECT_FALSE(tray->tmConn().isActive());
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("main commands offline"), QStringLiteral("notice 1"),
                                          QStringLiteral("banner")}));
}

// Two connections first seen in the same poll, at the same clock reading, start a millisecond
// apart: each row has a key of its own. When the later ends, the earlier becomes the one shown.
TEST_F(Recording, ConnectionsSeenTogetherGetRowsOfTheirOwn)
{
    const auto first = ras.addConnection("Office");
    const auto second = ras.addConnection("VPN");
    const double seen = now();
    poll();
    auto rows = records();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].sdt, seen);
    EXPECT_EQ(rows[1].sdt, toDayCount(clock.now().addMSecs(1)));
    QSqlQuery ids(QStringLiteral("select count(distinct RecordId) from XRRecord"),
                  tray->adoConnMain().connection());
    ASSERT_TRUE(ids.next());
    EXPECT_EQ(ids.value(0).toInt(), 2);

    advanceSeconds(20);
    ras.removeConnection(second);
    poll();
    windows.calls.clear();
    tick();
    rows = records();
    EXPECT_EQ(rows[0].edt, rows[0].sdt);
    EXPECT_EQ(rows[1].edt, now());
    EXPECT_EQ(context.currentConnection.ConnName, QStringLiteral("Office"));
    EXPECT_EQ(context.currentConnection.Sdt, seen);
    EXPECT_EQ(windows.calls,
              (QStringList{QStringLiteral("main commands online"), QStringLiteral("main connection Office"),
                           QStringLiteral("online time")}));

    advanceSeconds(20);
    ras.removeConnection(first);
    poll();
    tick();
    EXPECT_EQ(records()[0].edt, now());
}

TEST_F(Recording, CloseQueryAfterTheEndWasSeenWritesNothing)
{
    const auto handle = ras.addConnection("Office");
    poll();
    ras.removeConnection(handle);
    advanceSeconds(1);
    poll();
    advanceSeconds(1);
    tray->queryEndSession();
    EXPECT_EQ(records()[0].edt, records()[0].sdt);
}

TEST_F(Recording, SessionEndWritesTheEndTimeTwice)
{
    ras.addConnection("Office");
    ras.addConnection("VPN");
    poll();
    advanceSeconds(30);
    tray->queryEndSession();
    EXPECT_EQ(records()[0].edt, now());
    EXPECT_EQ(records()[1].edt, now());
    advanceSeconds(2);
    tray->WMEndSession();
    EXPECT_EQ(records()[0].edt, now());
    EXPECT_EQ(records()[1].edt, now());
    EXPECT_TRUE(tray->adoConnMain().isOpen()) << "the session's end closes nothing";
}

TEST_F(Recording, FailedInsertIsReportedAndRetriedAtTheNextPoll)
{
    ras.addConnection("Office");
    QSqlQuery(tray->adoConnMain().connection()).exec(QStringLiteral("alter table XRRecord rename to Moved"));
    EXPECT_ANY_THROW(poll());
    EXPECT_TRUE(tray->tmConn().isActive());
    QSqlQuery(tray->adoConnMain().connection()).exec(QStringLiteral("alter table Moved rename to XRRecord"));
    poll();
    EXPECT_EQ(records().size(), 1);
}

TEST_F(Recording, AutomaticBackupAfterADisconnect)
{
    context.settings.AutoBackup = true;
    const auto handle = ras.addConnection("Office");
    poll();
    ras.removeConnection(handle);
    poll();
    tick();
    const QString copy = context.appPath + QStringLiteral("AutoBackupXRDB.mdb");
    ASSERT_TRUE(QFile::exists(copy));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("copy"));
        db.setDatabaseName(copy);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("select count(*) from XRRecord where Edt > Sdt or Edt = Sdt")));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toInt(), 1);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("copy"));
}

TEST_F(Recording, FailedAutomaticBackupIsReported)
{
    context.settings.AutoBackup = true;
    QDir(context.appPath).mkdir(QStringLiteral("AutoBackupXRDB.mdb")); // a folder blocks the copy
    const auto handle = ras.addConnection("Office");
    poll();
    ras.removeConnection(handle);
    poll();
    tick();
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("自动备份失败！"));
}

} // namespace
} // namespace xr::test
