// Identifiers, day counts and the database's statement path.
#include "common/DisplayFormats.h"
#include "common/ErrorReporting.h"
#include "store/Database.h"
#include "store/DatabaseCheck.h"
#include "store/DatabaseError.h"
#include "store/DayCount.h"
#include "store/Identifiers.h"
#include "store/PasswordHash.h"
#include "store/Schema.h"
#include "store/SqlCommand.h"
#include "store/Statement.h"
#include "store/UsedTime.h"
#include "users/Accounts.h"

#include "InstalledDatabase.h"
#include "ScriptedPrompter.h"
#include "Unprivileged.h"
#include "FirstColumn.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace xr {
namespace {

QDateTime at(int ms) { return QDateTime(QDate(2004, 3, 7), QTime(9, 5, 3, ms)); }

TEST(Identifiers, MillisecondsHaveNoLeadingZeros)
{
    EXPECT_EQ(NewId(at(5)), QStringLiteral("200403070905035"));
    EXPECT_EQ(NewId(at(50)), QStringLiteral("2004030709050350"));
    EXPECT_EQ(NewId(at(500)), QStringLiteral("20040307090503500"));
    EXPECT_EQ(NewId(at(0)).size(), 15);
    EXPECT_EQ(NewId(QDateTime(QDate(2004, 12, 31), QTime(23, 59, 59, 999))), QStringLiteral("20041231235959999"));
}

TEST(Identifiers, BackupNameIsAlwaysTwentyCharacters)
{
    EXPECT_EQ(BackupFileName(at(45)), QStringLiteral("XR20040307090503.mdb"));
    EXPECT_EQ(BackupFileName(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999))).size(), 20);
    EXPECT_EQ(TwoDigits(QStringLiteral("7")), QStringLiteral("07"));
    EXPECT_EQ(TwoDigits(QStringLiteral("12")), QStringLiteral("12"));
}

TEST(DayCounts, CountFromTheEndOf1899)
{
    EXPECT_DOUBLE_EQ(toDayCount(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(toDayCount(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
    const QDateTime moment(QDate(2004, 3, 7), QTime(9, 5, 3, 45));
    EXPECT_EQ(fromDayCount(toDayCount(moment)), moment);
}

TEST(DayCounts, TextAsTheListShowsIt)
{
    EXPECT_EQ(dayCountText(toDayCount(QDateTime(QDate(2004, 3, 7), QTime(9, 5, 3)))), QStringLiteral("2004-3-7 9:05:03"));
    EXPECT_EQ(dayCountText(0.0), QStringLiteral("1899-12-30 0:00:00"));
    // A fraction that rounds to the next midnight is that midnight.
    EXPECT_EQ(dayCountText(38053.0 - 1e-10), QStringLiteral("2004-3-7 0:00:00"));
    for (const double days : {38053.25, 38053.999994, 45000.123456789})
        EXPECT_EQ(dayCountText(days), dateTimeText(fromDayCount(days))) << days;
    // Each day around the leap rules of 1900, 2000 and 2100, and dates from year 1 to 9999 and
    // beyond both ends.
    for (const double from : {0.0, 36500.0, 73000.0})
        for (double days = from; days < from + 800; days += 0.9999)
            ASSERT_EQ(dayCountText(days), dateTimeText(fromDayCount(days))) << days;
    for (double days = -700000.3; days < 3000000; days += 97.0031)
        ASSERT_EQ(dayCountText(days), dateTimeText(fromDayCount(days))) << days;
}

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        test::createInstalledDatabase(file());
        ASSERT_TRUE(db.open(file()));
    }

    QString file() const { return dir.filePath(kDatabaseFileName); }

    void insert(const QString& id, double sdt, const QString& conn)
    {
        command.setCommandText(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) "
                                              "values (:i,:s,:e,:u,:c)"));
        command.setParameter(QStringLiteral(":i"), id);
        command.setParameter(QStringLiteral(":s"), sdt);
        command.setParameter(QStringLiteral(":e"), sdt);
        command.setParameter(QStringLiteral(":u"), kAnonymousUserId);
        command.setParameter(QStringLiteral(":c"), conn);
        command.execute();
    }

    int updateEnd(double sdt, double edt)
    {
        command.setCommandText(QStringLiteral("update XRRecord set Edt = :e where (Sdt = :s)"));
        command.setParameter(QStringLiteral(":e"), edt);
        command.setParameter(QStringLiteral(":s"), sdt);
        command.execute();
        QSqlQuery changes(db.connection());
        changes.exec(QStringLiteral("select changes()"));
        changes.next();
        return changes.value(0).toInt();
    }

    QTemporaryDir dir;
    Database db{QStringLiteral("test")};
    SqlCommand command{db};
};

TEST_F(DatabaseTest, StartTimeRoundTripsBitForBit)
{
    const double sdt = toDayCount(QDateTime(QDate(2026, 12, 9), QTime(5, 19, 42, 123)));
    insert(QStringLiteral("1"), sdt, QStringLiteral("Office"));
    QSqlQuery query(db.connection());
    ASSERT_TRUE(query.exec(QStringLiteral("select Sdt from XRRecord")) && query.next());
    const double stored = query.value(0).toDouble();
    EXPECT_EQ(std::memcmp(&stored, &sdt, sizeof sdt), 0);
    EXPECT_EQ(updateEnd(sdt, sdt + 0.5), 1);
}

TEST_F(DatabaseTest, UpdateByStartChangesEveryRowWithThatStartAndNoOther)
{
    insert(QStringLiteral("1"), 100.25, QStringLiteral("A"));
    insert(QStringLiteral("2"), 100.25, QStringLiteral("B"));
    insert(QStringLiteral("3"), 100.5, QStringLiteral("C"));
    EXPECT_EQ(updateEnd(100.25, 101.0), 2);
    EXPECT_EQ(updateEnd(99.0, 101.0), 0);
}

TEST_F(DatabaseTest, LongEntryNameIsStoredWhole)
{
    const QString name(80, QChar(u'长'));
    insert(QStringLiteral("1"), 1.0, name);
    QSqlQuery query(db.connection());
    ASSERT_TRUE(query.exec(QStringLiteral("select ConnName from XRRecord")) && query.next());
    EXPECT_EQ(query.value(0).toString(), name);
}

TEST_F(DatabaseTest, FailingStatementRaisesTheDatabaseText)
{
    command.setCommandText(QStringLiteral("update NoSuchTable set Edt = :e"));
    command.setParameter(QStringLiteral(":e"), 1.0);
    try {
        command.execute();
        FAIL() << "the statement should fail";
    } catch (const DatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("NoSuchTable"), std::string::npos) << error.what();
    }
}

// Qt has no text of its own for a statement on a connection that is not open; the error box
// then says what failed.
TEST_F(DatabaseTest, StatementOnAClosedDatabaseSaysWhatFailed)
{
    db.close();
    test::ScriptedPrompter prompter;
    EXPECT_FALSE(
        reportErrors(prompter, [this] { insert(QStringLiteral("1"), 1.0, QStringLiteral("Office")); }));
    EXPECT_FALSE(reportErrors(prompter, [this] { updateEnd(1.0, 2.0); }));
    EXPECT_FALSE(reportErrors(prompter, [this] {
        runStatement(db.connection(), QStringLiteral("select UserName from XRUser"), {});
    }));
    QStringList texts;
    for (const test::Prompt& prompt : prompter.prompts)
        texts << prompt.text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("数据库未打开，无法添加上网记录。"),
                                  QStringLiteral("数据库未打开，无法修改上网记录。"),
                                  QStringLiteral("数据库未打开，无法读取用户。")}));
}

TEST_F(DatabaseTest, ReservedAccountsComeWithTheDatabase)
{
    QSqlQuery query(db.connection());
    ASSERT_TRUE(
        query.exec(QStringLiteral("select UserId, UserName, Admin, Enabled, UserPw, PwReset from XRUser "
                                  "order by UserId")));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), kBuiltInUserId);
    EXPECT_EQ(query.value(1).toString(), QStringLiteral("admin"));
    EXPECT_EQ(query.value(2).toInt(), 1);
    EXPECT_EQ(query.value(3).toInt(), 1);
    EXPECT_TRUE(passwordMatches(query.value(4).toString(), QString())) << "the empty password, as a hash";
    EXPECT_EQ(query.value(5).toInt(), 0) << "kept, not to be replaced";
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), kAnonymousUserId);
    EXPECT_EQ(query.value(1).toString(), QStringLiteral("匿名用户"));
    EXPECT_FALSE(query.next());
}

// Two people signed in at once run two copies on the one database: each copy's inserts and end
// time writes wait for the other's instead of failing with "database is locked".
TEST_F(DatabaseTest, TwoCopiesRecordingAtOnceLoseNoRow)
{
    constexpr int kCopies = 2;
    constexpr int kRecordsEach = 80;
    db.close(); // each copy opens a connection of its own, as separate programs do
    std::vector<pid_t> copies;
    for (int copy = 0; copy < kCopies; ++copy) {
        const pid_t child = ::fork();
        if (child == 0) {
            Database own(QStringLiteral("copy%1").arg(copy));
            SqlCommand ownCommand(own);
            if (!own.open(file()))
                ::_exit(2);
            try {
                for (int i = 0; i < kRecordsEach; ++i) {
                    const double sdt = 40000 + copy * 1000 + i;
                    ownCommand.setCommandText(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) "
                                                             "values (:i,:s,:e,:u,:c)"));
                    ownCommand.setParameter(QStringLiteral(":i"), QString::number(i));
                    ownCommand.setParameter(QStringLiteral(":s"), sdt);
                    ownCommand.setParameter(QStringLiteral(":e"), sdt);
                    ownCommand.setParameter(QStringLiteral(":u"), kAnonymousUserId);
                    ownCommand.setParameter(QStringLiteral(":c"), QStringLiteral("copy%1").arg(copy));
                    ownCommand.execute();
                    ownCommand.setCommandText(QStringLiteral("update XRRecord set Edt = :e where (Sdt = :s)"));
                    ownCommand.setParameter(QStringLiteral(":e"), sdt + 0.5);
                    ownCommand.setParameter(QStringLiteral(":s"), sdt);
                    ownCommand.execute();
                    runStatement(own.connection(), QStringLiteral("select count(*) from XRRecord"), {}).next();
                }
            } catch (const DatabaseError& error) {
                std::fprintf(stderr, "copy %d: %s\n", copy, error.what());
                ::_exit(1);
            }
            ::_exit(0);
        }
        copies.push_back(child);
    }
    for (const pid_t child : copies) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    ASSERT_TRUE(db.open(file()));
    QSqlQuery rows(db.connection());
    ASSERT_TRUE(rows.exec(QStringLiteral("select count(*), sum(Edt - Sdt) from XRRecord")) && rows.next());
    EXPECT_EQ(rows.value(0).toInt(), kCopies * kRecordsEach);
    EXPECT_DOUBLE_EQ(rows.value(1).toDouble(), kCopies * kRecordsEach * 0.5);
}

// Used time is the overlap of the person's records with each period, found through the index
// rather than by reading all of the person's records; what is left is the smallest period's
// allowance less its use, plus today's grants, never below nothing.
TEST_F(DatabaseTest, UsedTimeIsTheOverlapOfThePersonsRecordsWithEachPeriod)
{
    const QString alice = QStringLiteral("200403010800000");
    const auto moment = [](int day, int hour, int minute = 0) {
        return toDayCount(QDateTime(QDate(2004, 3, day), QTime(hour, minute)));
    };
    const auto record = [&](const QString& user, double sdt, double edt) {
        runStatement(db.connection(),
                     QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) values ('1',:s,:e,:u,'A')"),
                     {{QStringLiteral(":s"), sdt}, {QStringLiteral(":e"), edt}, {QStringLiteral(":u"), user}});
    };
    // Wednesday 10 March 2004: the week began on Monday the 8th.
    record(alice, moment(9, 23, 30), moment(10, 0, 20));   // 20 min today, 50 min this week
    record(alice, moment(10, 9), moment(10, 10));          // an hour today
    record(alice, moment(7, 22), moment(8, 0, 15));        // 15 min of it on Monday
    record(alice, moment(10, 12), moment(10, 11));         // ends before it starts: nothing
    record(alice, toDayCount(QDateTime(QDate(2004, 2, 29), QTime(23, 0))), moment(1, 1)); // an hour in March
    record(kAnonymousUserId, moment(10, 8), moment(10, 9));
    const AllowancePeriods periods = allowancePeriods(QDate(2004, 3, 10));
    const UsedTime used = usedTime(db.connection(), alice, periods, {{moment(10, 10), moment(10, 10, 5)}});
    EXPECT_NEAR(used.today, (20 + 60 + 5) * 60.0, 1e-3);
    EXPECT_NEAR(used.thisWeek, (50 + 60 + 5 + 15) * 60.0, 1e-3);
    EXPECT_NEAR(used.thisMonth, (50 + 60 + 135 + 60 + 5) * 60.0, 1e-3);

    QSqlQuery plan(db.connection());
    ASSERT_TRUE(plan.exec(QStringLiteral("explain query plan select total(Edt - Sdt) from XRRecord "
                                         "where UserId = 'x' and Edt > 1 and Sdt < 2")));
    QString steps;
    while (plan.next())
        steps += plan.value(3).toString();
    EXPECT_TRUE(steps.contains(QStringLiteral("XRRecordUserEdt"))) << steps.toStdString();

    Allowance allowance{alice, 120, 200, std::nullopt};
    TimeLeft left = timeLeft(allowance, used, 0);
    EXPECT_TRUE(left.limited);
    EXPECT_EQ(left.period, AllowancePeriod::Today);
    EXPECT_NEAR(left.seconds, (120 - 85) * 60.0, 1e-3);
    allowance.WeekMinutes = 100;
    left = timeLeft(allowance, used, 0);
    EXPECT_EQ(left.period, AllowancePeriod::ThisWeek);
    EXPECT_DOUBLE_EQ(left.seconds, 0) << "30 minutes over the week's allowance leave nothing";
    addGrant(db.connection(), {alice, moment(10, 8), 45, kBuiltInUserId});
    addGrant(db.connection(), {alice, moment(9, 8), 600, kBuiltInUserId}); // yesterday's
    const int granted = grantedMinutes(db.connection(), alice, periods.today.s, periods.today.e);
    EXPECT_EQ(granted, 45);
    EXPECT_NEAR(timeLeft(allowance, used, granted).seconds, 15 * 60.0, 1e-3) << "the grant covers the 30 over";
    EXPECT_FALSE(timeLeft(readAllowance(db.connection(), alice), used, granted).limited) << "no row, no limit";
    storeAllowance(db.connection(), allowance);
    EXPECT_EQ(readAllowance(db.connection(), alice), allowance);
    storeAllowance(db.connection(), {alice, std::nullopt, std::nullopt, std::nullopt});
    EXPECT_FALSE(readAllowance(db.connection(), alice).limited());
}

TEST(DatabaseOpen, InstallationKeepsTheAdministratorPasswordOnlyAsItsHash)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(kDatabaseFileName);
    test::createInstalledDatabase(file, QStringLiteral("setup-secret"));
    EXPECT_FALSE(test::fileHoldsText(file, QStringLiteral("setup-secret")));
    Database db{QStringLiteral("installed-test")};
    ASSERT_TRUE(db.open(file));
    EXPECT_EQ(findAccounts(db.connection(), QStringLiteral("admin"), QStringLiteral("setup-secret")).size(), 1);
    EXPECT_TRUE(findAccounts(db.connection(), QStringLiteral("admin"), QString()).isEmpty());
}

TEST(DatabaseOpen, MissingOrForeignFileDoesNotOpenAndIsNotCreated)
{
    QTemporaryDir dir;
    Database db{QStringLiteral("open-test")};
    const QString missing = dir.filePath(QStringLiteral("XRDB.mdb"));
    EXPECT_FALSE(db.open(missing));
    EXPECT_FALSE(QFile::exists(missing));

    QFile foreign(dir.filePath(QStringLiteral("foreign.mdb")));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("Standard Jet DB, not ours");
    foreign.close();
    EXPECT_FALSE(db.open(foreign.fileName()));
    EXPECT_FALSE(db.isOpen());
}

// Files of the first schema version: passwords as plain text, with or without the version table.
class SchemaUpgrade : public ::testing::Test {
protected:
    QString file(const QString& name = kDatabaseFileName) const { return dir.filePath(name); }
    QByteArray bytes(const QString& name = kDatabaseFileName) const
    {
        QFile content(file(name));
        return content.open(QIODevice::ReadOnly) ? content.readAll() : QByteArray();
    }
    QStringList column(const QString& statement)
    {
        return test::firstColumn(db.connection(), statement);
    }

    const QList<test::TestAccount> accounts{
        {QStringLiteral("200403010800000"), QStringLiteral("alice"), QStringLiteral("alice-secret-1")},
        {QStringLiteral("200403010800001"), QStringLiteral("o'brien"), QStringLiteral("it's \"x\" 密码")},
        {QStringLiteral("200403010800002"), QStringLiteral("newcomer")}};
    QTemporaryDir dir;
    Database db{QStringLiteral("upgrade-test")};
};

TEST_F(SchemaUpgrade, OlderFileIsConvertedOnceAndEveryPasswordStillSignsIn)
{
    for (const bool withVersionTable : {true, false}) {
        QFile::remove(file());
        test::createVersionOneDatabase(file(), accounts);
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            raw.setDatabaseName(file());
            raw.open();
            QSqlQuery(raw).exec(
                QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) "
                               "values ('1', 100.5, 101.0, '200403010800000', 'Office')"));
            if (!withVersionTable)
                QSqlQuery(raw).exec(QStringLiteral("drop table SchemaVersion"));
            raw.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        ASSERT_TRUE(bytes().contains("alice-secret-1"));

        ASSERT_TRUE(db.open(file())) << db.openError().toStdString();
        EXPECT_EQ(column(QStringLiteral("select Version from SchemaVersion")),
                  QStringList{QString::number(kSchemaVersion)});
        EXPECT_EQ(column(QStringLiteral("select name from sqlite_master where name like 'XRAllowance' or "
                                        "name like 'XRGrant' or name = 'XRRecordUserEdt' order by name")),
                  (QStringList{QStringLiteral("XRAllowance"), QStringLiteral("XRGrant"),
                               QStringLiteral("XRRecordUserEdt")}));
        const QStringList hashes = column(QStringLiteral("select UserPw from XRUser"));
        ASSERT_EQ(hashes.size(), 5);
        for (const QString& hash : hashes)
            EXPECT_TRUE(hash.startsWith(QStringLiteral("$argon2id$"))) << hash.toStdString();
        EXPECT_EQ(column(QStringLiteral("select count(*) from XRUser where PwReset = 0")),
                  QStringList{QStringLiteral("5")});
        for (const test::TestAccount& account : accounts)
            EXPECT_EQ(findAccounts(db.connection(), account.name,
                                   account.password.isNull() ? QStringLiteral("") : account.password)
                          .size(),
                      1)
                << account.name.toStdString();
        EXPECT_EQ(findAccounts(db.connection(), QStringLiteral("admin"), QString()).size(), 1) << "the empty password too";
        EXPECT_TRUE(findAccounts(db.connection(), QStringLiteral("alice"), QString()).isEmpty());
        EXPECT_EQ(column(QStringLiteral("select ConnName || Sdt || coalesce(RxBytes, '?') || coalesce(TxBytes, '?') "
                                        "from XRRecord")),
                  QStringList{QStringLiteral("Office100.5??")})
            << "an older record keeps its time; its bytes are unknown";
        EXPECT_EQ(column(QStringLiteral("select count(*) from XRRecord where Station is null and Revision <> "
                                        "CopiedRevision")),
                  QStringList{QStringLiteral("1")})
            << "an older record is still to be copied to a shared server";
        db.close();
        const QByteArray converted = bytes();
        EXPECT_FALSE(converted.contains("alice-secret-1")) << "no trace of the plain text";
        EXPECT_FALSE(converted.contains(QStringLiteral("it's \"x\" 密码").toUtf8()));

        ASSERT_TRUE(db.open(file()));
        db.close();
        EXPECT_EQ(bytes(), converted) << "a converted file is left as it is";
    }
}

// Two copies of the program starting at once on an older file (two people signing in to the
// desktop): both open it, and it is converted once, its passwords hashed once.
TEST_F(SchemaUpgrade, TwoCopiesOpeningAtOnceConvertTheFileOnce)
{
    test::createVersionOneDatabase(file(), accounts);
    std::atomic<int> opened{0};
    const auto openInAnotherCopy = [&](int copy) {
        Database other{QStringLiteral("copy-%1").arg(copy)};
        if (other.open(file()))
            ++opened;
    };
    std::thread first(openInAnotherCopy, 1);
    std::thread second(openInAnotherCopy, 2);
    first.join();
    second.join();
    EXPECT_EQ(opened, 2);
    ASSERT_TRUE(db.open(file()));
    EXPECT_EQ(findAccounts(db.connection(), QStringLiteral("alice"), QStringLiteral("alice-secret-1")).size(), 1);
    EXPECT_EQ(findAccounts(db.connection(), QStringLiteral("admin"), QString()).size(), 1);
}

TEST_F(SchemaUpgrade, NewerFileIsRefusedAndLeftAsItIs)
{
    test::createInstalledDatabase(file());
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(file());
        raw.open();
        QSqlQuery(raw).exec(QStringLiteral("update SchemaVersion set Version = %1").arg(kSchemaVersion + 1));
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    const QByteArray before = bytes();
    EXPECT_EQ(checkDatabaseFile(file()), DatabaseFileCheck::Newer);
    EXPECT_FALSE(db.open(file()));
    EXPECT_FALSE(db.isOpen());
    const QString text = cannotOpenText(db);
    EXPECT_TRUE(text.startsWith(QStringLiteral("无法连接数据库！请与系统管理员联系！\r\r")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(
        QStringLiteral("(版本%1)比本程序(版本%2)新").arg(kSchemaVersion + 1).arg(kSchemaVersion)))
        << text.toStdString();
    EXPECT_EQ(bytes(), before);
}

// A file that needs converting but may not be written is refused with the reason and keeps its
// data; once it may be written it is converted.
TEST_F(SchemaUpgrade, WriteProtectedOlderFileIsRefusedUntilItMayBeWritten)
{
    test::createVersionOneDatabase(file(), accounts);
    const QByteArray path = QFile::encodeName(file());
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::Permissions(0x7777))); // the child reaches it
    ASSERT_EQ(::chmod(path.constData(), 0444), 0);
    const QByteArray before = bytes();
    const std::optional<std::string> refusal = test::runUnprivilegedFor([this] {
        Database readOnly{QStringLiteral("read-only-upgrade")};
        return readOnly.open(file()) ? std::string("opened") : readOnly.openError().toStdString();
    });
    ASSERT_TRUE(refusal.has_value()) << "the unprivileged child did not run";
    EXPECT_NE(refusal->find("不能写入"), std::string::npos) << *refusal;
    EXPECT_EQ(bytes(), before);

    ASSERT_EQ(::chmod(path.constData(), 0644), 0);
    ASSERT_TRUE(db.open(file())) << db.openError().toStdString();
    EXPECT_EQ(findAccounts(db.connection(), QStringLiteral("alice"), QStringLiteral("alice-secret-1")).size(), 1);
}

} // namespace
} // namespace xr
