// Accounts and allowances on a shared PostgreSQL server of the test's own, seen from two
// stations, each with its own database: what one station makes or changes signs in on the other;
// while the server is away a person still signs in from the station's copy and every change is
// refused, with nothing changed anywhere and the typing kept; the time an allowance has used is
// every station's.
#include "browser/AllowanceSummary.h"
#include "connections/AllowanceWatch.h"
#include "connections/RASNotify.h"
#include "connections/Recorder.h"
#include "store/AccountStore.h"
#include "store/DayCount.h"
#include "store/Identifiers.h"
#include "store/PasswordHash.h"
#include "store/ServerSchema.h"
#include "users/PasswordChange.h"
#include "users/SignIn.h"
#include "users/UserAccountsModel.h"
#include "users/utAllowance.h"
#include "users/utSelUser.h"

#include "DatabaseFixture.h"
#include "PgServer.h"
#include "RecordingWindows.h"
#include "FirstColumn.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTimer>

#include <memory>

namespace xr::test {
namespace {

const QString kAliceId = QStringLiteral("200403010800000");

// One PC: its own folder and database, set to use the shared server.
struct Station : TestContext {
    Station(const QString& name, const QString& conninfo) : database(name)
    {
        createInstalledDatabase(context.appPath + kDatabaseFileName);
        EXPECT_TRUE(database.open(context.appPath + kDatabaseFileName));
        context.settings.Station = name;
        context.server.configure(conninfo);
    }

    SignInOutcome signIn(const QString& name, const QString& password)
    {
        return signer.attempt(0, false, name, password);
    }
    AccountStore accounts() { return AccountStore(context.server, database); }
    QStringList local(const QString& statement)
    {
        return firstColumn(database.connection(), statement);
    }

    Database database;
    SqlCommand command{database};
    TRASNotify notify{ras};
    QTimer tmConn;
    RecordingWindows windows;
    Recorder recorder{context, command, notify, tmConn, windows};
    SignIn signer{context, database, recorder, [](const UserAccount&) { return false; }};
};

class ServerAccounts : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server.available())
            GTEST_SKIP() << server.whyUnavailable().toStdString();
        const QString name =
            QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name())
                .toLower()
                .left(60);
        ASSERT_TRUE(server.createDatabase(name));
        conninfo = server.conninfo(name);
        admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("server-admin"));
        admin.setConnectOptions(conninfo);
        ASSERT_TRUE(admin.open()) << admin.lastError().text().toStdString();
        createServerSchema(admin, QStringLiteral("admin-pw"));
        first = std::make_unique<Station>(QStringLiteral("pc-1"), conninfo);
        second = std::make_unique<Station>(QStringLiteral("pc-2"), conninfo);
        for (Station* station : {first.get(), second.get()})
            station->context.currentConnection = {kBuiltInUserId, QStringLiteral("admin"), {}, 0, 0, true};
    }

    void TearDown() override
    {
        if (!server.available())
            return;
        first.reset();
        second.reset();
        admin.close();
        admin = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("server-admin"));
    }

    // Statements on the server, as its administrator would run them.
    void onServer(const QString& statement)
    {
        QSqlQuery query(admin);
        EXPECT_TRUE(query.exec(statement))
            << statement.toStdString() << query.lastError().text().toStdString();
    }
    QStringList fromServer(const QString& statement)
    {
        return firstColumn(admin, statement);
    }
    // Alice with her password on the server, and the same row in the first station's copy.
    void addAliceEverywhere()
    {
        const QString row =
            QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark,PwReset) "
                           "values ('%1','alice','%2',0,1,'old remark',0)")
                .arg(kAliceId, hashPassword(QStringLiteral("alice-pw"), HashCost::Minimum));
        onServer(row);
        first->local(row);
    }

    // Starts the server again after a test that stopped it, whatever became of the test.
    struct Restart {
        ~Restart()
        {
            if (!server.available())
                server.start();
        }
    };

    static PgServer server;
    QString conninfo;
    QSqlDatabase admin;
    std::unique_ptr<Station> first;
    std::unique_ptr<Station> second;
};

PgServer ServerAccounts::server;

TEST_F(ServerAccounts, AnAccountMadeOrChangedOnOneStationSignsInOnTheOther)
{
    UserAccountsModel model(first->context, first->database);
    model.open();
    ASSERT_EQ(model.insert(), AccountRefusal::None);
    model.setData(model.index(model.currentRow(), UserAccountsModel::NameColumn), QStringLiteral(" carol "));
    ASSERT_EQ(model.post(), AccountRefusal::None);
    EXPECT_EQ(fromServer(
                  QStringLiteral("select UserName from XRUser where UserId = '%1'").arg(model.row(0).UserId)),
              QStringList{QStringLiteral("carol")});
    for (Station* station : {first.get(), second.get()})
        EXPECT_TRUE(
            station->local(QStringLiteral("select UserId from XRUser where UserName = 'carol'")).isEmpty())
            << "made on the server only";

    EXPECT_EQ(second->signIn(QStringLiteral("carol"), QString()), SignInOutcome::SignedIn);
    EXPECT_EQ(second->context.currentConnection.UserName, QStringLiteral("carol"));
    TwinSelUser picker(second->context, second->database);
    EXPECT_EQ(picker.findChild<QListWidget*>(QStringLiteral("lbUser"))
                  ->findItems(QStringLiteral("carol"), Qt::MatchExactly)
                  .size(),
              1);

    // The name is the server's to refuse, whichever station asks.
    second->clock.advanceMs(1000); // another identifier
    UserAccountsModel secondModel(second->context, second->database);
    secondModel.open();
    ASSERT_EQ(secondModel.insert(), AccountRefusal::None);
    secondModel.setData(secondModel.index(secondModel.currentRow(), UserAccountsModel::NameColumn),
                        QStringLiteral("carol"));
    EXPECT_EQ(secondModel.post(), AccountRefusal::NameTaken);
    secondModel.cancel();

    const QString carolId = model.row(0).UserId;
    ASSERT_TRUE(changePassword(first->prompter, first->accounts(), carolId, QStringLiteral("carol-pw"),
                               QStringLiteral("carol-pw")));
    EXPECT_EQ(second->signIn(QStringLiteral("carol"), QString()), SignInOutcome::NoMatch);
    EXPECT_EQ(second->signIn(QStringLiteral("carol"), QStringLiteral("carol-pw")), SignInOutcome::SignedIn);

    // Records on another station keep the account: it is not deleted.
    onServer(QStringLiteral("insert into XRRecord (Station,RecordId,Sdt,Edt,UserId,ConnName) "
                            "values ('pc-2','1',100,101,'%1','Office')")
                 .arg(carolId));
    EXPECT_EQ(model.removalRefusal(), AccountRefusal::RecordsInUse);
}

TEST_F(ServerAccounts, WhileTheServerIsAwayTheCopySignsInAndEveryChangeIsRefusedWithNothingLost)
{
    addAliceEverywhere();
    onServer(QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark,PwReset) values "
                            "('200403010800009','dora','%1',0,1,'',1)")
                 .arg(hashPassword(QString(), HashCost::Minimum)));
    first->local(
        QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark,PwReset) values "
                       "('200403010800009','dora','%1',0,1,'',1)")
            .arg(hashPassword(QString(), HashCost::Minimum)));
    onServer(QStringLiteral("insert into XRAllowance (UserId,DayMinutes) values ('%1',60)").arg(kAliceId));
    first->local(
        QStringLiteral("insert into XRAllowance (UserId,DayMinutes) values ('%1',60)").arg(kAliceId));
    Station& station = *first;
    UserAccountsModel model(station.context, station.database); // opened while the server answers
    model.open();
    ASSERT_EQ(model.rowCount(), 2);
    const QStringList serverBefore = fromServer(
        QStringLiteral("select UserName || UserPw || Remark || PwReset from XRUser order by UserId"));
    const QStringList localBefore = station.local(
        QStringLiteral("select UserName || UserPw || Remark || PwReset from XRUser order by UserId"));
    admin.close();

    server.stop();
    const Restart restart{};
    station.prompter.prompts.clear();
    EXPECT_EQ(station.signIn(QStringLiteral("alice"), QStringLiteral("alice-pw")), SignInOutcome::SignedIn)
        << "from the copy, once the open connection finds the server gone";
    EXPECT_FALSE(station.context.server.answers());
    EXPECT_EQ(station.signIn(QStringLiteral("alice"), QStringLiteral("wrong")), SignInOutcome::NoMatch);
    EXPECT_EQ(station.signIn(QStringLiteral("dora"), QString()), SignInOutcome::FirstPasswordMissing);
    EXPECT_FALSE(changePassword(station.prompter, station.accounts(), kAliceId, QStringLiteral("new-pw"),
                                QStringLiteral("new-pw")));

    station.context.currentConnection = {kBuiltInUserId, QStringLiteral("admin"), {}, 0, 0, true};
    const int alice = model.row(0).UserName == QStringLiteral("alice") ? 0 : 1;
    ASSERT_EQ(model.setCurrentRow(alice), AccountRefusal::None);
    model.edit();
    model.setData(model.index(alice, UserAccountsModel::RemarkColumn), QStringLiteral("new remark"));
    EXPECT_EQ(model.post(), AccountRefusal::ServerAway);
    EXPECT_TRUE(model.editing()) << "the typing stays, to be posted later";
    EXPECT_EQ(model.removalRefusal(), AccountRefusal::ServerAway);

    TwinAllowance window(station.context, station.database); // from the copy
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("twAllowance"));
    int aliceRow = -1;
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, TwinAllowance::NameColumn)->text() == QStringLiteral("alice"))
            aliceRow = row;
    ASSERT_GE(aliceRow, 0);
    EXPECT_EQ(table->item(aliceRow, TwinAllowance::DayColumn)->text(), QStringLiteral("60"));
    table->setCurrentCell(aliceRow, TwinAllowance::NameColumn);
    window.findChild<QLineEdit*>(QStringLiteral("edtGrant"))->setText(QStringLiteral("30"));
    window.findChild<QPushButton*>(QStringLiteral("btnGrant"))->click();
    table->item(aliceRow, TwinAllowance::DayColumn)->setText(QStringLiteral("90"));
    window.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_EQ(table->item(aliceRow, TwinAllowance::GrantedColumn)->text(), QStringLiteral("0"));

    EXPECT_EQ(station.promptTexts(),
              (QStringList{QStringLiteral("不正确的用户名或密码！"),
                           QStringLiteral("服务器不可用，现在不能设置新密码，本次登录没有完成。请稍后再试。"),
                           QStringLiteral("服务器不可用，现在不能修改密码。请稍后再试。"),
                           QStringLiteral("服务器不可用，现在不能加时。请稍后再试。"),
                           QStringLiteral("服务器不可用，现在不能修改上网时限。请稍后再试。")}));
    EXPECT_EQ(refusalText(AccountRefusal::ServerAway),
              QStringLiteral("服务器不可用，现在不能修改用户信息。请稍后再试。"));
    EXPECT_EQ(station.local(QStringLiteral(
                  "select UserName || UserPw || Remark || PwReset from XRUser order by UserId")),
              localBefore);
    EXPECT_EQ(station.local(QStringLiteral("select count(*) from XRGrant")),
              QStringList{QStringLiteral("0")});
    EXPECT_EQ(station.local(QStringLiteral("select DayMinutes from XRAllowance")),
              QStringList{QStringLiteral("60")});

    // Back: the server holds what it held, and the edit kept in the dialog goes through.
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(admin.open());
    EXPECT_EQ(fromServer(QStringLiteral(
                  "select UserName || UserPw || Remark || PwReset from XRUser order by UserId")),
              serverBefore);
    EXPECT_EQ(fromServer(QStringLiteral("select count(*) from XRGrant")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(fromServer(QStringLiteral("select DayMinutes from XRAllowance")),
              QStringList{QStringLiteral("60")});
    station.context.server.reportAnswered(); // as the copy of records does once it gets through
    EXPECT_EQ(model.post(), AccountRefusal::None);
    EXPECT_EQ(fromServer(QStringLiteral("select Remark from XRUser where UserId = '%1'").arg(kAliceId)),
              QStringList{QStringLiteral("new remark")});
}

TEST_F(ServerAccounts, TheTimeAnAllowanceHasUsedIsEveryStationsOnTheServer)
{
    addAliceEverywhere();
    onServer(QStringLiteral("insert into XRAllowance (UserId,DayMinutes) values ('%1',60)").arg(kAliceId));
    first->local(
        QStringLiteral("insert into XRAllowance (UserId,DayMinutes) values ('%1',60)").arg(kAliceId));
    const QDateTime now = first->clock.now();
    const auto minutesAgo = [&now](int minutes) { return toDayCount(now.addSecs(-60 * minutes)); };
    // 30 minutes at this station, 20 at the other, 15 of another person; 10 of this station's
    // own are not on the server yet.
    for (const auto& [pc, id, from, to, user] :
         {std::tuple{"pc-1", "1", 100, 70, kAliceId}, std::tuple{"pc-2", "1", 60, 40, kAliceId},
          std::tuple{"pc-2", "2", 30, 15, kBuiltInUserId}})
        onServer(QStringLiteral("insert into XRRecord (Station,RecordId,Sdt,Edt,UserId,ConnName) "
                                "values ('%1','%2',%3,%4,'%5','Office')")
                     .arg(QString::fromLatin1(pc), QString::fromLatin1(id))
                     .arg(minutesAgo(from), 0, 'f', 10)
                     .arg(minutesAgo(to), 0, 'f', 10)
                     .arg(user));
    first->local(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName,Station) "
                                "values ('9',%1,%2,'%3','Office','pc-1')")
                     .arg(minutesAgo(10), 0, 'f', 10)
                     .arg(minutesAgo(0), 0, 'f', 10)
                     .arg(kAliceId));
    onServer(QStringLiteral("insert into XRGrant (UserId,Granted,Minutes,ByUserId) values ('%1',%2,5,'%3')")
                 .arg(kAliceId)
                 .arg(minutesAgo(1), 0, 'f', 10)
                 .arg(kBuiltInUserId));

    Station& station = *first;
    station.context.currentConnection = {kAliceId, QStringLiteral("alice"), {}, 0, 0, false};
    AllowanceWatch watch(station.context, station.database, station.recorder);
    watch.recompute();
    EXPECT_TRUE(watch.timeLeft().limited);
    EXPECT_NEAR(watch.timeLeft().seconds, (60 + 5 - 50) * 60.0, 0.5);
    EXPECT_TRUE(allowanceSummary(station.accounts(), kAliceId, now)
                    .startsWith(QStringLiteral("今天：已用50分0秒，剩余15分0秒")))
        << allowanceSummary(station.accounts(), kAliceId, now).toStdString();

    admin.close();
    server.stop();
    const Restart restart{};
    watch.recompute();
    EXPECT_NEAR(watch.timeLeft().seconds, (60 - 10) * 60.0, 0.5)
        << "while away: this station's records and copy";
}

} // namespace
} // namespace xr::test
