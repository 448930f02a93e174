// Online-time allowances kept while connected, with a set clock: warnings at their moments,
// the line hung up at the limit, dialling refused, a grant, midnight and a clock set back.
#include "TrayFixture.h"

#include "connections/Dialer.h"
#include "store/Allowances.h"
#include "store/Identifiers.h"
#include "store/Statement.h"
#include "users/AllowanceEdits.h"

#include <QCoreApplication>
#include <QSignalSpy>

namespace xr::test {
namespace {

const QString kAliceId = QStringLiteral("200403010800000");
const QString kTimeUpHungUp = QStringLiteral("您今天的上网时间已经用完！\r\r连接已经断开。");
const QString kTimeUpNoDial = QStringLiteral("您今天的上网时间已经用完！\r\r不能拨号。");

class Allowances : public TrayFixture {
protected:
    void SetUp() override
    {
        createDatabase();
        startTray();
        ASSERT_TRUE(tray->databaseOpened());
        ASSERT_TRUE(addAccount(db(), {kAliceId, QStringLiteral("alice")}));
        ras.phonebook.push_back({"Office", "16300", "", "alice", "secret", "", true});
        dialer.setRefusal([this] { return tray->allowance().refusesDial(); });
    }

    QSqlDatabase db() { return tray->adoConnMain().connection(); }
    void signInAlice() { context.currentConnection = {kAliceId, QStringLiteral("alice"), {}, 0, 0, false}; }
    void allow(const QString& userId, std::optional<int> dayMinutes)
    {
        storeAllowance(db(), {userId, dayMinutes, std::nullopt, std::nullopt});
        tray->allowance().recompute();
    }
    void poll() { tray->RASNotify().Poll(); }
    // One second of the connection timer, as the session runs it.
    void tick()
    {
        advanceSeconds(1);
        tray->recorder().tmConnTimer();
        tray->allowance().tmConnTimer();
    }
    double left() const { return tray->allowance().timeLeft().seconds; }
    // The messages shown so far, the one that waits for the event loop included.
    QStringList messages()
    {
        QCoreApplication::processEvents();
        return promptTexts();
    }

    Dialer dialer{context};
};

TEST_F(Allowances, WarningsComeAtTheirMomentsAndTheLimitHangsUpAndRefusesDialling)
{
    signInAlice();
    allow(kAliceId, 11);
    QSignalSpy warnings(&tray->allowance(), &AllowanceWatch::warningDue);
    const auto handle = ras.addConnection("Office");
    poll();
    EXPECT_EQ(warnings.size(), 0) << "eleven minutes left";
    QList<int> warnedAt;
    for (int second = 1; second < 660; ++second) {
        tick();
        if (warnings.size() > warnedAt.size())
            warnedAt << second;
    }
    EXPECT_EQ(warnedAt, (QList<int>{60, 360, 600}));
    ASSERT_EQ(warnings.size(), 3);
    EXPECT_EQ(warnings[0][0].toString(), QStringLiteral("您今天的上网时间还剩 10 分钟"));
    EXPECT_EQ(warnings[1][0].toString(), QStringLiteral("您今天的上网时间还剩 5 分钟"));
    EXPECT_EQ(warnings[2][0].toString(), QStringLiteral("您今天的上网时间还剩 1 分钟"));
    EXPECT_TRUE(ras.hungUp.empty()) << "a second is still left";

    tick();
    const double limit = now();
    EXPECT_EQ(ras.hungUp, std::vector<platform::ConnHandle>{handle});
    EXPECT_EQ(messages(), QStringList{kTimeUpHungUp});
    poll();
    tick();
    tick();
    ASSERT_EQ(records().size(), 1);
    EXPECT_EQ(records()[0].edt, limit) << "the record ends at the limit";
    EXPECT_NEAR((records()[0].edt - records()[0].sdt) * 86400.0, 660.0, 1e-3);

    dialer.DialEntry(QStringLiteral("Office"));
    EXPECT_EQ(messages().last(), kTimeUpNoDial);
    EXPECT_TRUE(ras.connections.empty()) << "no dial started";
}

// The clock is set back in the middle: the time before it stays counted, none is given back.
TEST_F(Allowances, AGrantLetsThePersonBackOnAndMidnightResetsTheDay)
{
    signInAlice();
    runStatement(
        db(),
        QStringLiteral(
            "insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) values ('1', :s, :e, :u, 'Office')"),
        {{QStringLiteral(":s"), now() - 60 / 86400.0},
         {QStringLiteral(":e"), now()},
         {QStringLiteral(":u"), kAliceId}});
    allow(kAliceId, 1);
    dialer.DialEntry(QStringLiteral("Office"));
    EXPECT_EQ(messages(), QStringList{kTimeUpNoDial});

    grantToday(db(), kAliceId, 2, kBuiltInUserId, clock.now());
    tray->allowance().recompute();
    EXPECT_NEAR(left(), 120, 1e-6);
    dialer.DialEntry(QStringLiteral("Office"));
    ASSERT_EQ(ras.connections.size(), 1u) << "the grant lets the dial start";
    poll();
    for (int second = 0; second < 20; ++second)
        tick();
    EXPECT_NEAR(left(), 100, 1e-6);

    // The per-second tick reads and writes no database.
    tray->adoConnMain().close();
    tick();
    EXPECT_NEAR(left(), 99, 1e-6);
    EXPECT_EQ(promptTexts(), QStringList{kTimeUpNoDial}) << "no error";
    ASSERT_TRUE(tray->adoConnMain().reopen());

    const double beforeSetBack = now();
    clock.set(clock.now().addSecs(-600));
    tick();
    EXPECT_NEAR(left(), 99, 1e-6) << "nothing given back";
    for (int second = 0; second < 9; ++second)
        tick();
    EXPECT_NEAR(left(), 90, 1e-6);
    const auto rows = records();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[2].edt, beforeSetBack) << "the record ends where the clock was before";
    EXPECT_NEAR((beforeSetBack - rows[0].sdt) * 86400.0, 599, 1e-3)
        << "the time after it has a record of its own";
    tray->allowance().recompute();
    EXPECT_NEAR(left(), 90, 1e-3) << "the database holds the same use as the countdown";

    for (int second = 0; second < 89; ++second)
        tick();
    EXPECT_TRUE(ras.hungUp.empty());
    tick();
    EXPECT_EQ(ras.hungUp.size(), 1u);
    poll();
    tick();

    clock.set(QDateTime(clock.now().date().addDays(1), QTime(0, 0, 5)));
    tray->allowance().refresh();
    EXPECT_NEAR(left(), 60, 1e-6) << "a new day: its minute, without yesterday's grant";
    EXPECT_FALSE(tray->allowance().refusesDial());
}

// A café: nobody may be online before signing in.
TEST_F(Allowances, WithNobodySignedInTheAnonymousAllowanceHangsUpAConnectionFromOutside)
{
    allow(kAnonymousUserId, 0);
    const double up = now();
    const auto handle = ras.addConnection("Office");
    poll();
    EXPECT_EQ(ras.hungUp, std::vector<platform::ConnHandle>{handle}) << "at once";
    EXPECT_TRUE(windows.calls.contains(QStringLiteral("login 3"))) << "the sign-in dialog opens as always";
    EXPECT_EQ(messages(),
              QStringList{QStringLiteral("未登录时今天的上网时间已经用完！请先登录。\r\r连接已经断开。")});
    poll();
    tick();
    ASSERT_EQ(records().size(), 1);
    EXPECT_EQ(records()[0].edt, up);

    signInAlice();
    EXPECT_FALSE(tray->allowance().refusesDial()) << "a person without a limit dials as always";
    EXPECT_FALSE(tray->allowance().timeLeft().limited);
}

} // namespace
} // namespace xr::test
