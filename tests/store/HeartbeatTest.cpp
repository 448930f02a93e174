// The heartbeat file and what a start does with it: the record it names gets back the end time a
// crash kept from being written, and nothing else is ever changed.
#include "store/Heartbeat.h"
#include "store/Database.h"
#include "store/DatabaseCopy.h"
#include "store/DatabaseError.h"
#include "store/DayCount.h"
#include "store/HeartbeatReconciliation.h"
#include "store/Identifiers.h"
#include "store/SqlCommand.h"

#include "InstalledDatabase.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>

namespace xr {
namespace {

constexpr double kSecond = 1.0 / 86400.0;
const QDateTime kStart(QDate(2026, 12, 9), QTime(8, 0, 0, 123));

class Reconciliation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        test::createInstalledDatabase(file());
        ASSERT_TRUE(db.open(file()));
        insertRecord(sdt, sdt);
    }

    QString file() const { return dir.filePath(kDatabaseFileName); }
    QString heartbeatFile() const { return dir.filePath(heartbeatFileName()); }
    QDateTime secondsAfterStart(int seconds) const { return kStart.addSecs(seconds); }

    void insertRecord(double start, double end, const QString& connName = QStringLiteral("Office"))
    {
        QSqlQuery query(db.connection());
        query.prepare(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) values "
                                     "('1',:s,:e,:u,:c)"));
        query.bindValue(QStringLiteral(":s"), start);
        query.bindValue(QStringLiteral(":e"), end);
        query.bindValue(QStringLiteral(":u"), kAnonymousUserId);
        query.bindValue(QStringLiteral(":c"), connName);
        ASSERT_TRUE(query.exec());
    }
    void setEnd(double end)
    {
        QSqlQuery query(db.connection());
        query.prepare(QStringLiteral("update XRRecord set Edt = :e"));
        query.bindValue(QStringLiteral(":e"), end);
        ASSERT_TRUE(query.exec());
    }
    double recordEnd(const QString& connName = QStringLiteral("Office"))
    {
        QSqlQuery query(db.connection());
        query.prepare(QStringLiteral("select Edt from XRRecord where ConnName = :c"));
        query.bindValue(QStringLiteral(":c"), connName);
        query.exec();
        return query.next() ? query.value(0).toDouble() : -1;
    }

    HeartbeatRecord office() const { return {sdt, QStringLiteral("Office"), kAnonymousUserId}; }
    Heartbeat beat(double lastSeen) const { return {databaseIdentity(file()), {office()}, lastSeen}; }
    void leave(const Heartbeat& heartbeat) { ASSERT_TRUE(writeHeartbeat(heartbeatFile(), heartbeat)); }
    HeartbeatOutcome reconcileAt(int secondsAfterStart)
    {
        return reconcileHeartbeat(db, heartbeatFile(), kStart.addSecs(secondsAfterStart));
    }

    QTemporaryDir dir;
    Database db{QStringLiteral("heartbeat-test")};
    const double sdt = toDayCount(kStart);
};

TEST_F(Reconciliation, EarlierEndMovesToTheMomentLastSeenAndALaterOneStays)
{
    const double seen = toDayCount(secondsAfterStart(65));
    leave(beat(seen));
    EXPECT_EQ(reconcileAt(300), HeartbeatOutcome::Extended);
    EXPECT_EQ(recordEnd(), seen) << "the record is found by its start, bit for bit";
    EXPECT_FALSE(QFile::exists(heartbeatFile()));

    // The periodic saving wrote a later end than the heartbeat: that end stays.
    const double saved = toDayCount(secondsAfterStart(120));
    setEnd(saved);
    leave(beat(toDayCount(secondsAfterStart(90))));
    EXPECT_EQ(reconcileAt(300), HeartbeatOutcome::Unchanged);
    EXPECT_EQ(recordEnd(), saved);
    EXPECT_FALSE(QFile::exists(heartbeatFile()));

    EXPECT_EQ(reconcileAt(300), HeartbeatOutcome::NoHeartbeat);
    EXPECT_EQ(recordEnd(), saved);
}

// Two connections were up at the crash: each record gets the moment last seen. One the database
// no longer holds is left out without stopping the others.
TEST_F(Reconciliation, EveryRecordNamedGetsTheMomentLastSeen)
{
    const double homeStart = toDayCount(secondsAfterStart(10));
    insertRecord(homeStart, homeStart, QStringLiteral("Home"));
    const double seen = toDayCount(secondsAfterStart(65));
    Heartbeat two = beat(seen);
    two.records.append({homeStart, QStringLiteral("Home"), kAnonymousUserId});
    two.records.append({homeStart + kSecond, QStringLiteral("Gone"), kAnonymousUserId});
    leave(two);
    ASSERT_EQ(readHeartbeat(heartbeatFile())->records, two.records);
    EXPECT_EQ(reconcileAt(300), HeartbeatOutcome::Extended);
    EXPECT_EQ(recordEnd(QStringLiteral("Office")), seen);
    EXPECT_EQ(recordEnd(QStringLiteral("Home")), seen);
    EXPECT_FALSE(QFile::exists(heartbeatFile()));
}

// The file an earlier version left names its one record beside the database's identity.
TEST_F(Reconciliation, SingleRecordFileOfAnEarlierVersionStillReconciles)
{
    const DatabaseIdentity identity = databaseIdentity(file());
    const double seen = toDayCount(secondsAfterStart(65));
    const QJsonObject earlier{{QStringLiteral("database"), identity.path},
                              {QStringLiteral("databaseCreated"), identity.created},
                              {QStringLiteral("Sdt"), sdt},
                              {QStringLiteral("ConnName"), QStringLiteral("Office")},
                              {QStringLiteral("UserId"), kAnonymousUserId},
                              {QStringLiteral("lastSeen"), seen}};
    QFile output(heartbeatFile());
    ASSERT_TRUE(output.open(QIODevice::WriteOnly));
    output.write(QJsonDocument(earlier).toJson(QJsonDocument::Compact));
    output.close();
    EXPECT_EQ(reconcileAt(300), HeartbeatOutcome::Extended);
    EXPECT_EQ(recordEnd(), seen);
    EXPECT_FALSE(QFile::exists(heartbeatFile()));
}

TEST_F(Reconciliation, EndStaysBetweenTheStartAndThePresent)
{
    leave(beat(toDayCount(secondsAfterStart(3600)))); // the clock was set back since
    EXPECT_EQ(reconcileAt(200), HeartbeatOutcome::Extended);
    EXPECT_EQ(recordEnd(), toDayCount(secondsAfterStart(200)));

    setEnd(sdt);
    leave(beat(sdt - 60 * kSecond));
    EXPECT_EQ(reconcileAt(200), HeartbeatOutcome::Unchanged);
    EXPECT_EQ(recordEnd(), sdt);
}

TEST_F(Reconciliation, UnreadableOrRecordlessHeartbeatIsRemovedAndChangesNothing)
{
    Heartbeat gone = beat(toDayCount(secondsAfterStart(60)));
    gone.records[0].Sdt = sdt + kSecond;
    leave(gone);
    EXPECT_EQ(reconcileAt(120), HeartbeatOutcome::Discarded);
    EXPECT_FALSE(QFile::exists(heartbeatFile()));

    Heartbeat otherEntry = beat(toDayCount(secondsAfterStart(60)));
    otherEntry.records[0].ConnName = QStringLiteral("Home");
    leave(otherEntry);
    EXPECT_EQ(reconcileAt(120), HeartbeatOutcome::Discarded);

    for (const QByteArray& text :
         {QByteArray("\x00\xff garbage", 10), QByteArray(R"({"Sdt":1,"ConnName":"Office"})"),
          QByteArray(R"({"database":"XRDB.mdb","databaseCreated":"","lastSeen":1,"records":[{"Sdt":1}]})")}) {
        QFile corrupt(heartbeatFile());
        ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
        corrupt.write(text);
        corrupt.close();
        EXPECT_EQ(reconcileAt(120), HeartbeatOutcome::Discarded) << text.constData();
        EXPECT_FALSE(QFile::exists(heartbeatFile()));
    }
    EXPECT_EQ(recordEnd(), sdt);
}

// A database put in place of the one the heartbeat was written for is another file, even with
// the same path and the same record in it.
TEST_F(Reconciliation, HeartbeatOfAnotherDatabaseIsIgnored)
{
    const double seen = toDayCount(secondsAfterStart(60));
    const Heartbeat written = beat(seen);
    leave(written);
    db.close();
    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(copyDatabaseFile(file(), copy));
    QThread::msleep(5); // the restored file is born at another millisecond
    ASSERT_TRUE(copyDatabaseFile(copy, file()));
    ASSERT_TRUE(db.open(file()));
    ASSERT_NE(databaseIdentity(file()), written.database);
    EXPECT_EQ(reconcileAt(120), HeartbeatOutcome::Discarded);
    EXPECT_EQ(recordEnd(), sdt);
    EXPECT_FALSE(QFile::exists(heartbeatFile()));

    Heartbeat elsewhere = beat(seen);
    elsewhere.database.path = dir.filePath(QStringLiteral("other/XRDB.mdb"));
    leave(elsewhere);
    EXPECT_EQ(reconcileAt(120), HeartbeatOutcome::Discarded);
    EXPECT_EQ(recordEnd(), sdt);
}

TEST_F(Reconciliation, FailedWriteKeepsTheHeartbeatForNextTime)
{
    QSqlQuery(db.connection())
        .exec(QStringLiteral(
            "create trigger refuse before update on XRRecord begin select raise(abort, 'no'); end"));
    leave(beat(toDayCount(secondsAfterStart(60))));
    EXPECT_EQ(reconcileAt(120), HeartbeatOutcome::Kept);
    EXPECT_TRUE(QFile::exists(heartbeatFile()));

    QSqlQuery(db.connection()).exec(QStringLiteral("drop trigger refuse"));
    EXPECT_EQ(reconcileAt(120), HeartbeatOutcome::Extended);
    EXPECT_EQ(recordEnd(), toDayCount(secondsAfterStart(60)));
}

// A connection opened while the file was write-protected is read-only; the first write after
// the file became writable reopens it and goes through. While it stays protected the write
// fails with the database's error.
TEST(ReadOnlyDatabase, WriteReopensTheConnectionOnceTheFileIsWritable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(kDatabaseFileName);
    test::createInstalledDatabase(file);
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(file).constData(), kNobody, kNobody), 0);
    }
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::Permissions(0x7777)));

    const auto writeAfter = [&file](bool makeWritable) {
        const QByteArray path = QFile::encodeName(file);
        if (::chmod(path.constData(), 0444) != 0)
            return false;
        bool written = false;
        {
            Database db{QStringLiteral("read-only-test")};
            if (!db.open(file) || (makeWritable && ::chmod(path.constData(), 0644) != 0))
                return false;
            SqlCommand command(db);
            command.setCommandText(QStringLiteral("update XRUser set Remark = :c"));
            command.setParameter(QStringLiteral(":c"), QStringLiteral("written"));
            try {
                command.execute();
                written = true;
            } catch (const DatabaseError& error) {
                written = !error.readOnly(); // a refusal must name the read-only connection
            }
        }
        return written == makeWritable;
    };
    EXPECT_TRUE(test::runUnprivileged([&] { return writeAfter(true); }));
    EXPECT_TRUE(test::runUnprivileged([&] { return writeAfter(false); }));
}

} // namespace
} // namespace xr
