// The real program keeps the anonymous account's allowance on the simulated service: a
// connection made outside the program is hung up at the limit, its record ending then, and one
// made once nothing is left is hung up within two seconds of coming up.
#include "ProgramFolder.h"

#include "store/DayCount.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace xr::test {
namespace {

constexpr double kSecond = 1.0 / 86400.0;

class AllowanceEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0);
    }

    // Runs statements on the folder's database before the program starts.
    void write(const QStringList& statements)
    {
        const QString name = QStringLiteral("e2e-writer");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(folder.path(QStringLiteral("XRDB.mdb")));
            ASSERT_TRUE(db.open());
            for (const QString& statement : statements)
                EXPECT_TRUE(QSqlQuery(db).exec(statement)) << statement.toStdString();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    bool connected()
    {
        QString status;
        folder.sim({QStringLiteral("status")}, &status);
        return status.contains(QStringLiteral("\tOffice\tconnected"));
    }
    QList<QStringList> records()
    {
        return folder.rows(
            QStringLiteral("select Sdt, Edt from XRRecord where ConnName = 'Office' order by Sdt"));
    }

    ProgramFolder folder;
};

TEST_F(AllowanceEndToEnd, TheLineIsHungUpAtTheLimitAndAtOnceOnceNothingIsLeft)
{
    // A minute a day while nobody is signed in, 56 seconds of it used a minute ago.
    const double used = toDayCount(QDateTime::currentDateTime().addSecs(-60));
    const QTime time = QDateTime::currentDateTime().time();
    if (time < QTime(0, 3) || time > QTime(23, 59))
        GTEST_SKIP() << "a new day would begin within the test's minutes; run it between 00:03 and 23:59";
    write({QStringLiteral("insert into XRAllowance values ('000000000000000002', 1, null, null)"),
           QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) values ('1', %1, %2, "
                          "'000000000000000002', 'Earlier')")
               .arg(used - 56 * kSecond, 0, 'f', 12)
               .arg(used, 0, 'f', 12)});
    ASSERT_TRUE(folder.start());

    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return records().size() == 1; }));
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return !connected(); }, 10000)) << "hung up at the limit";
    ASSERT_TRUE(ProgramFolder::waitUntil([&] {
        const auto rows = records();
        return rows.size() == 1 && rows[0][1].toDouble() > rows[0][0].toDouble();
    }));
    const auto first = records();
    const double seconds = (first[0][1].toDouble() - first[0][0].toDouble()) / kSecond;
    EXPECT_GE(seconds, 3.0) << "the four seconds left were used";
    EXPECT_LE(seconds, 5.5);

    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    QElapsedTimer sinceUp;
    sinceUp.start();
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return records().size() == 2; }));
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return !connected(); }, 5000));
    EXPECT_LE(sinceUp.elapsed(), 3000) << "one poll to see it, then at once";
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return records()[1][1] != QString(); }));
    EXPECT_NEAR(records()[1][1].toDouble(), records()[1][0].toDouble(), 0.5 * kSecond)
        << "the record ends as it begins";

    const QString timeUp = QStringLiteral("未登录时今天的上网时间已经用完！请先登录。");
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return folder.prompts().join(QString()).contains(timeUp); }));
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

} // namespace
} // namespace xr::test
