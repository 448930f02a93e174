// The shared server's tables and how the program tells what became of reaching it, against a
// real PostgreSQL server of the test's own; and the local journal's marks of what is still to be
// copied.
#include "store/Identifiers.h"
#include "store/PasswordHash.h"
#include "store/ServerDatabase.h"
#include "store/ServerSchema.h"

#include "DatabaseFixture.h"
#include "PgServer.h"
#include "FirstColumn.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

namespace xr {
namespace {

class ServerStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server.available())
            GTEST_SKIP() << server.whyUnavailable().toStdString();
    }

    QStringList values(const QString& statement)
    {
        return test::firstColumn(db.connection(), statement);
    }

    static test::PgServer server;
    ServerDatabase db{QStringLiteral("server-store-test")};
};

test::PgServer ServerStore::server;

TEST_F(ServerStore, SetUpMakesWhatIsMissingAndNeverOverwrites)
{
    ASSERT_TRUE(server.createDatabase(QStringLiteral("setup_twice")));
    EXPECT_EQ(db.open(server.conninfo(QStringLiteral("setup_twice"))), ServerAnswer::NotOurs);
    EXPECT_TRUE(db.problem().contains(QStringLiteral("xarvane-setup --server")));

    QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("raw-setup"));
    raw.setConnectOptions(server.conninfo(QStringLiteral("setup_twice")));
    ASSERT_TRUE(raw.open());
    createServerSchema(raw, QStringLiteral("first"));
    QSqlQuery(raw).exec(QStringLiteral("update XRUser set UserPw = 'changed', UserName = 'boss' where UserId = '%1'")
                            .arg(kBuiltInUserId));
    createServerSchema(raw, QStringLiteral("second"));
    raw.close();
    raw = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("raw-setup"));

    ASSERT_EQ(db.open(server.conninfo(QStringLiteral("setup_twice"))), ServerAnswer::Answered) << db.problem().toStdString();
    EXPECT_EQ(values(QStringLiteral("select UserName || ':' || UserPw from XRUser where UserId = '%1'")
                         .arg(kBuiltInUserId)),
              QStringList{QStringLiteral("boss:changed")});
    EXPECT_EQ(values(QStringLiteral("select UserName from XRUser where UserId = '%1'").arg(kAnonymousUserId)),
              QStringList{kAnonymousUserName});
    EXPECT_EQ(values(QStringLiteral("select count(*) from SchemaVersion")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(serverSchemaVersion(db.connection()), kServerSchemaVersion);
}

TEST_F(ServerStore, EachWayOfNotReachingItIsToldApart)
{
    ASSERT_TRUE(server.createXarvaneDatabase(QStringLiteral("answers")));
    ASSERT_TRUE(server.run(QStringLiteral("grant select on all tables in schema public to station"),
                           QStringLiteral("answers")));

    qputenv("PGPASSFILE", "/nonexistent/pgpass");
    EXPECT_EQ(db.open(server.conninfo(QStringLiteral("answers"), QStringLiteral("station"))), ServerAnswer::Refused);
    EXPECT_TRUE(db.problem().contains(QStringLiteral("密码"))) << db.problem().toStdString();
    EXPECT_FALSE(db.isOpen());
    qputenv("PGPASSFILE", server.passwordFile().toLocal8Bit());
    EXPECT_EQ(db.open(server.conninfo(QStringLiteral("answers"), QStringLiteral("station"))), ServerAnswer::Answered)
        << "the password comes from the password file: " << db.problem().toStdString();
    qunsetenv("PGPASSFILE");

    EXPECT_EQ(db.open(server.conninfo(QStringLiteral("no_such_db"))), ServerAnswer::NoDatabase);
    EXPECT_EQ(db.open(QStringLiteral("host=127.0.0.1 port=1 dbname=x")), ServerAnswer::Unreachable);
    EXPECT_TRUE(db.problem().startsWith(QStringLiteral("无法连接服务器")));
    EXPECT_EQ(db.open(QStringLiteral("hots=127.0.0.1")), ServerAnswer::BadSetting);
    EXPECT_FALSE(db.isOpen());

    server.run(QStringLiteral("update SchemaVersion set Version = %1").arg(kServerSchemaVersion + 1),
               QStringLiteral("answers"));
    EXPECT_EQ(db.open(server.conninfo(QStringLiteral("answers"))), ServerAnswer::Newer);
}

TEST(ServerConnectOptions, AnAddressThatNeverAnswersIsGivenUp)
{
    EXPECT_EQ(serverConnectOptions(QStringLiteral("host=pc1 dbname=x connect_timeout=2")).count(QStringLiteral("connect_timeout")), 1);
    EXPECT_TRUE(serverConnectOptions(QStringLiteral("host=pc1")).contains(QStringLiteral("connect_timeout=5")));
    EXPECT_EQ(serverConnectOptions(QStringLiteral("postgresql://pc1/x")), QStringLiteral("postgresql://pc1/x"));
}

class RecordJournal : public test::DatabaseFixture {};

TEST_F(RecordJournal, EveryChangeOfARecordMarksItToBeCopiedAgain)
{
    run(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName,Station) values ('1',1,1,'u','A','pc1')"));
    const QString pending = QStringLiteral("select count(*) from XRRecord where Revision <> CopiedRevision");
    EXPECT_EQ(values(pending), QStringList{QStringLiteral("1")});
    run(QStringLiteral("update XRRecord set CopiedRevision = Revision"));
    EXPECT_EQ(values(pending), QStringList{QStringLiteral("0")}) << "the copy's own mark raises nothing";
    for (const QString& change : {QStringLiteral("Edt = 2"), QStringLiteral("RxBytes = 5"),
                                  QStringLiteral("UserId = 'v'")}) {
        run(QStringLiteral("update XRRecord set ") + change);
        EXPECT_EQ(values(pending), QStringList{QStringLiteral("1")}) << change.toStdString();
        run(QStringLiteral("update XRRecord set CopiedRevision = Revision"));
    }
    EXPECT_EQ(values(QStringLiteral("select Revision from XRRecord")), QStringList{QStringLiteral("4")});
}

} // namespace
} // namespace xr
