// The real program with a shared server in its settings: what it records on the simulated dial-up
// service reaches the server within seconds, under the PC's station name.
#include "PgServer.h"
#include "ProgramFolder.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

namespace xr::test {
namespace {

const QString kStation = QStringLiteral("机房-07");

class ServerCopyEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server.available())
            GTEST_SKIP() << server.whyUnavailable().toStdString();
        dbname = QStringLiteral("e2e_copy_%1").arg(++s_databases);
        ASSERT_TRUE(server.createDatabase(dbname));
        // The PC reaches the server as the role "station", its password in libpq's password file.
        folder.setEnvironment(QStringLiteral("PGPASSFILE"), server.passwordFile());
        QProcess setup;
        setup.start(QStringLiteral(XARVANE_BIN_DIR "/xarvane-setup"),
                    {QStringLiteral("--server"), server.conninfo(dbname), folder.path()});
        ASSERT_TRUE(setup.waitForFinished());
        ASSERT_EQ(setup.exitCode(), 0) << setup.readAllStandardError().toStdString();
        ASSERT_TRUE(
            server.run(QStringLiteral("grant select, insert, update, delete on all tables in schema public "
                                      "to station"),
                       dbname));
        // The settings as the set-up named the server (as the superuser), now for the station's role.
        folder.setSetting(QStringLiteral("Server"), server.conninfo(dbname, QStringLiteral("station")));
        folder.setSetting(QStringLiteral("Station"), kStation);
        ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0);
    }

    QList<QStringList> serverRows(const QString& statement)
    {
        QList<QStringList> rows;
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("e2e-server"));
            db.setConnectOptions(server.conninfo(dbname));
            QSqlQuery query(db);
            if (db.open() && query.exec(statement))
                while (query.next()) {
                    QStringList row;
                    for (int column = 0; column < query.record().count(); ++column)
                        row << query.value(column).toString();
                    rows << row;
                }
            query = QSqlQuery();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("e2e-server"));
        return rows;
    }

    static PgServer server;
    static int s_databases;
    QString dbname;
    ProgramFolder folder;
};

PgServer ServerCopyEndToEnd::server;
int ServerCopyEndToEnd::s_databases = 0;

TEST_F(ServerCopyEndToEnd, ARecordedConnectionReachesTheServerUnderTheStationsName)
{
    ASSERT_TRUE(folder.start());
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    const QString records =
        QStringLiteral("select Station, RecordId, Sdt, Edt, UserId, ConnName from XRRecord");
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return folder.rows(records).size() == 1; }));
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return serverRows(records) == folder.rows(records); }, 8000))
        << "the record reaches the server within a few seconds";
    EXPECT_EQ(serverRows(records).value(0).value(0), kStation);

    ASSERT_EQ(folder.sim({QStringLiteral("disconnect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(ProgramFolder::waitUntil([&] {
        const auto local = folder.rows(records);
        return local.size() == 1 && local[0][3] != local[0][2];
    }));
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return serverRows(records) == folder.rows(records); }, 8000))
        << "and so does its end";
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
    EXPECT_EQ(folder.unexpectedPrompts(), QStringList()) << "a server that answers is not mentioned";
}

TEST_F(ServerCopyEndToEnd, AWrongPasswordIsToldOnceAndRecordingGoesOnHere)
{
    folder.setEnvironment(QStringLiteral("PGPASSFILE"), folder.path(QStringLiteral("no-pgpass")));
    ASSERT_TRUE(folder.start());
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return !folder.unexpectedPrompts().isEmpty(); }));
    const QString told = folder.unexpectedPrompts().value(0);
    EXPECT_TRUE(told.startsWith(QStringLiteral("prompt: warning: 服务器不可用，上网记录暂时只保存在本机。")))
        << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("密码"))) << told.toStdString();

    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(ProgramFolder::waitUntil([&] {
        return folder.rows(QStringLiteral("select ConnName from XRRecord")) ==
               QList<QStringList>{{QStringLiteral("Office")}};
    })) << "recorded here all the same";
    QThread::msleep(4500); // the copy tries the server again meanwhile
    EXPECT_EQ(folder.unexpectedPrompts().size(), 1) << "told once";
    EXPECT_EQ(serverRows(QStringLiteral("select count(*) from XRRecord")),
              QList<QStringList>{{QStringLiteral("0")}});
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
    EXPECT_EQ(folder.program().exitCode(), 0);
}

} // namespace
} // namespace xr::test
