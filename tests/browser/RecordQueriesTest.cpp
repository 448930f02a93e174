#include "UsageDatabase.h"

#include "browser/RecordList.h"
#include "browser/RecordQueries.h"
#include "store/DatabaseError.h"
#include "store/DateConversionError.h"
#include "store/DayCount.h"
#include "store/Identifiers.h"
#include "store/PickLists.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

namespace xr {
namespace {

const QString kZhangId = QStringLiteral("200403070905030");
const QString kLiId = QStringLiteral("200403070905031");
const QString kMarch = QStringLiteral("2004-3-1*2004-3-31");
// Sunday evening, the last day of the week from Monday 2004-3-1.
const QDateTime kSundayEvening(QDate(2004, 3, 7), QTime(21, 0));

QDateTime at(int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2004, month, day), QTime(hour, minute, second));
}

class RecordQueries : public ::testing::Test {
protected:
    RecordQueries()
    {
        data.addUser(kZhangId, QStringLiteral("张三"));
        data.addUser(kLiId, QStringLiteral("李四"));
        add(at(2, 29, 23, 50), at(3, 1, 0, 10), kZhangId, QStringLiteral("163")); // crosses into March
        add(at(3, 1, 0, 0), at(3, 1, 0, 5), kZhangId, QStringLiteral("163"));
        add(at(3, 3, 10, 0), at(3, 3, 11, 5, 7), kZhangId, QStringLiteral("169"));
        add(at(3, 4, 9, 0), at(3, 4, 10, 0), kLiId, QStringLiteral("163"));
        add(at(3, 6, 8, 0), at(3, 6, 8, 0, 42), kAnonymousUserId, QStringLiteral("163"));
        add(at(3, 7, 23, 0), at(3, 8, 0, 30), kZhangId, QStringLiteral("163")); // crosses out of the week
        add(at(3, 31, 23, 30), at(4, 1, 0, 0), kZhangId, QStringLiteral("163"));
        add(at(3, 31, 23, 59), at(4, 1, 0, 0, 1), kZhangId, QStringLiteral("163")); // crosses out of March
    }

    void add(const QDateTime& start, const QDateTime& end, const QString& userId, const QString& connName)
    {
        data.addRecord(start, end, userId, connName);
    }

    // The panel as the main window fills it for an administrator.
    RecordFilter adminPanel()
    {
        RecordFilter filter;
        const UserPickList users = FillUserNames(data.db());
        filter.users.items = users.names;
        filter.userIds = users.ids;
        filter.connections.items = FillConnNames(data.db());
        filter.periods.items = QStringList{QStringLiteral("本周"), QStringLiteral("本月"), kMarch,
                                           QStringLiteral("not a period")};
        return filter;
    }

    // The panel of an ordinary user: his own name alone in the user list.
    RecordFilter userPanel()
    {
        RecordFilter filter = adminPanel();
        filter.users.items = QStringList{zhang.UserName};
        filter.userIds = QStringList{zhang.UserId};
        return filter;
    }

    // Start times of the records the statement lists, in list order.
    QList<QDateTime> starts(const RecordQuery& query)
    {
        RecordList list;
        list.open(data.db(), query);
        QList<QDateTime> result;
        for (int row = 0; row < list.count(); ++row)
            result.append(fromDayCount(list.record(row).Sdt));
        return result;
    }

    test::UsageDatabase data;
    const TConnection admin{kBuiltInUserId, QStringLiteral("admin"), QString(), 0, 0, true};
    const TConnection zhang{kZhangId, QStringLiteral("张三"), QString(), 0, 0, false};
};

TEST_F(RecordQueries, AdministratorOneUserAllConnectionsPeriod)
{
    RecordFilter filter = adminPanel();
    filter.users.choose(QStringLiteral("张三"));
    filter.connections.choose(QStringLiteral("所有连接"));
    filter.periods.index = 0;
    const RecordQuery query = findRecordsQuery(filter, admin, kSundayEvening);
    EXPECT_EQ(query.text(), QStringLiteral("select * from XRRecord where (UserId = :u) and (Sdt >= :s) and "
                                           "(Edt <= :e)  order by Sdt,ConnName"));
    EXPECT_EQ(query.values().keys(),
              (QStringList{QStringLiteral(":e"), QStringLiteral(":s"), QStringLiteral(":u")}));
    EXPECT_EQ(query.values().value(QStringLiteral(":u")), kZhangId);
    // Neither the record begun on Sunday evening nor the one begun before Monday belongs to the week.
    EXPECT_EQ(starts(query), (QList<QDateTime>{at(3, 1, 0, 0), at(3, 3, 10, 0)}));
}

TEST_F(RecordQueries, OrdinaryUserOneConnectionConnectDateOnly)
{
    RecordFilter filter = userPanel();
    filter.users.index = 0;
    filter.connections.choose(QStringLiteral("163"));
    filter.time.setPeriod(false);
    filter.time.setDisconnectDate(false);
    filter.connectDate = QDate(2004, 3, 5);
    filter.disconnectDate = QDate(2004, 3, 5);
    const RecordQuery query = findRecordsQuery(filter, zhang, kSundayEvening);
    EXPECT_EQ(query.text(), QStringLiteral("select * from XRRecord where (UserId = '200403070905030') and "
                                           "(ConnName = :c) and (Sdt >= :s)  order by Sdt,ConnName"));
    EXPECT_EQ(query.values().keys(), (QStringList{QStringLiteral(":c"), QStringLiteral(":s")}));
    EXPECT_EQ(starts(query), (QList<QDateTime>{at(3, 7, 23, 0), at(3, 31, 23, 30), at(3, 31, 23, 59)}));
}

TEST_F(RecordQueries, AdministratorAllUsersAllConnectionsDisconnectDateOnly)
{
    RecordFilter filter = adminPanel();
    filter.users.choose(QStringLiteral("所有用户"));
    filter.connections.choose(QStringLiteral("所有连接"));
    filter.time.setPeriod(false);
    filter.time.setConnectDate(false);
    filter.disconnectDate = QDate(2004, 3, 4);
    const RecordQuery query = findRecordsQuery(filter, admin, kSundayEvening);
    EXPECT_EQ(query.text(), QStringLiteral("select * from XRRecord where (Edt <= :e) order by Sdt,ConnName"));
    EXPECT_EQ(query.values().keys(), QStringList{QStringLiteral(":e")});
    EXPECT_EQ(query.values().value(QStringLiteral(":e")).toDouble(), toDayCount(at(3, 5, 0, 0)));
    EXPECT_EQ(starts(query),
              (QList<QDateTime>{at(2, 29, 23, 50), at(3, 1, 0, 0), at(3, 3, 10, 0), at(3, 4, 9, 0)}));
}

// This PC's own records carry their station too; rows from before the stations have none.
TEST_F(RecordQueries, StationJoinsAfterTheConnectionAndDeletingAllKeepsIt)
{
    QSqlQuery(data.db()).exec(
        QStringLiteral("update XRRecord set Station = 'PC-1' where UserId = '%1'").arg(kZhangId));
    QSqlQuery(data.db()).exec(
        QStringLiteral("update XRRecord set Station = 'PC-2' where UserId = '%1'").arg(kLiId));
    RecordFilter filter = adminPanel();
    filter.stations.items = FillStationNames(data.db());
    EXPECT_EQ(filter.stations.items,
              (QStringList{QStringLiteral("PC-1"), QStringLiteral("PC-2"), QStringLiteral("所有电脑")}));
    filter.users.choose(QStringLiteral("所有用户"));
    filter.connections.choose(QStringLiteral("163"));
    filter.stations.choose(QStringLiteral("PC-1"));
    filter.periods.index = 1;
    const RecordQuery query = findRecordsQuery(filter, admin, kSundayEvening);
    EXPECT_EQ(query.text(),
              QStringLiteral("select * from XRRecord where (ConnName = :c) and (Station = :p) and "
                             "(Sdt >= :s) and (Edt <= :e)  order by Sdt,ConnName"));
    EXPECT_EQ(starts(query), (QList<QDateTime>{at(3, 1, 0, 0), at(3, 7, 23, 0)}));
    const RecordQuery deletion = deleteAllQuery(query);
    EXPECT_TRUE(deletion.text().contains(QStringLiteral("(Station = :p)")));
    EXPECT_EQ(deletion.values().value(QStringLiteral(":p")), QStringLiteral("PC-1"));

    filter.stations.choose(QStringLiteral("所有电脑"));
    EXPECT_FALSE(findRecordsQuery(filter, admin, kSundayEvening).text().contains(QStringLiteral("Station")));
}

TEST_F(RecordQueries, AllUsersAndConnectionsInAPeriodIncludeTheAnonymousUser)
{
    RecordFilter filter = adminPanel();
    filter.users.choose(QStringLiteral("所有用户"));
    filter.connections.choose(QStringLiteral("所有连接"));
    filter.periods.index = 1;
    const RecordQuery query = findRecordsQuery(filter, admin, kSundayEvening);
    EXPECT_EQ(
        query.text(),
        QStringLiteral("select * from XRRecord where (Sdt >= :s) and (Edt <= :e)  order by Sdt,ConnName"));
    // The month ends at 23:59:59.999 of its last day: a record ending at midnight after it is left out.
    EXPECT_EQ(starts(query), (QList<QDateTime>{at(3, 1, 0, 0), at(3, 3, 10, 0), at(3, 4, 9, 0),
                                               at(3, 6, 8, 0), at(3, 7, 23, 0)}));
}

TEST_F(RecordQueries, ChoosingTheAnonymousUserListsRecordsMadeWhileNobodyWasSignedIn)
{
    RecordFilter filter = adminPanel();
    filter.users.choose(kAnonymousUserName);
    filter.connections.choose(QStringLiteral("所有连接"));
    filter.periods.index = 1;
    EXPECT_EQ(starts(findRecordsQuery(filter, admin, kSundayEvening)), QList<QDateTime>{at(3, 6, 8, 0)});
}

TEST_F(RecordQueries, CustomPeriodOfMarchEndsAtMidnightAfterItsLastDay)
{
    RecordFilter filter = userPanel();
    filter.connections.choose(QStringLiteral("163"));
    filter.periods.choose(kMarch);
    EXPECT_EQ(starts(findRecordsQuery(filter, zhang, kSundayEvening)),
              (QList<QDateTime>{at(3, 1, 0, 0), at(3, 7, 23, 0), at(3, 31, 23, 30)}));
}

TEST_F(RecordQueries, CustomPeriodThatIsNotTwoDatesRaisesTheConversionError)
{
    RecordFilter filter = userPanel();
    filter.periods.choose(QStringLiteral("not a period"));
    try {
        findRecordsQuery(filter, zhang, kSundayEvening);
        FAIL() << "no conversion error";
    } catch (const DateConversionError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid date");
    }
}

TEST_F(RecordQueries, OwnIdWrittenIntoTheStatementCannotWidenIt)
{
    const TConnection odd{
        QStringLiteral("x:s') or ('1' = '1"), QStringLiteral("odd"), QString(), 0, 0, false};
    add(at(3, 2, 12, 0), at(3, 2, 13, 0), odd.UserId, QStringLiteral("163"));
    RecordFilter filter = userPanel();
    filter.connections.choose(QStringLiteral("所有连接"));
    filter.periods.index = 1;
    const RecordQuery query = findRecordsQuery(filter, odd, kSundayEvening);
    EXPECT_EQ(query.text(),
              QStringLiteral("select * from XRRecord where (UserId = 'x:s'') or (''1'' = ''1') and "
                             "(Sdt >= :s) and (Edt <= :e)  order by Sdt,ConnName"));
    EXPECT_EQ(starts(query), QList<QDateTime>{at(3, 2, 12, 0)});
}

TEST_F(RecordQueries, DefaultsResetThePanel)
{
    RecordFilter filter = adminPanel();
    filter.time.setPeriod(false);
    TSettings settings;
    settings.DefaultTime = 2;
    settings.DefaultConnName = QStringLiteral("169");
    resetToDefaults(filter, settings, zhang, QDate(2004, 3, 7));
    EXPECT_TRUE(filter.time.period());
    EXPECT_FALSE(filter.time.connectDate());
    EXPECT_FALSE(filter.time.disconnectDate());
    EXPECT_FALSE(filter.time.connectPickerEnabled());
    EXPECT_EQ(filter.connectDate, QDate(2004, 3, 7));
    EXPECT_EQ(filter.disconnectDate, QDate(2004, 3, 7));
    EXPECT_EQ(filter.periods.text(), kMarch);
    EXPECT_EQ(filter.users.text(), QStringLiteral("张三"));
    EXPECT_EQ(filter.connections.text(), QStringLiteral("169"));
}

TEST_F(RecordQueries, DefaultListOfAllConnectionsIsTheSignedInUsersOwn)
{
    RecordFilter filter = adminPanel();
    TSettings settings;
    resetToDefaults(filter, settings, admin, kSundayEvening.date());
    add(at(3, 2, 12, 0), at(3, 2, 12, 30), kBuiltInUserId, QStringLiteral("169"));
    const RecordQuery query = defaultRecordsQuery(filter, settings.DefaultTime, admin, kSundayEvening);
    EXPECT_EQ(query.text(), QStringLiteral("select * from XRRecord where (UserId = :u) and (Sdt >= :s) and "
                                           "(Edt <= :e) order by Sdt,ConnName"));
    EXPECT_EQ(query.values().value(QStringLiteral(":u")), kBuiltInUserId);
    EXPECT_EQ(starts(query), QList<QDateTime>{at(3, 2, 12, 0)});
}

TEST_F(RecordQueries, DefaultListOfOneConnection)
{
    RecordFilter filter = userPanel();
    TSettings settings;
    settings.DefaultTime = 2;
    settings.DefaultConnName = QStringLiteral("163");
    resetToDefaults(filter, settings, zhang, kSundayEvening.date());
    const RecordQuery query = defaultRecordsQuery(filter, settings.DefaultTime, zhang, kSundayEvening);
    EXPECT_EQ(query.text(), QStringLiteral("select * from XRRecord where (UserId = :u) and (Sdt >= :s) and "
                                           "(Edt <= :e) and (ConnName = :c) order by Sdt,ConnName"));
    EXPECT_EQ(starts(query), (QList<QDateTime>{at(3, 1, 0, 0), at(3, 7, 23, 0), at(3, 31, 23, 30)}));
}

TEST_F(RecordQueries, UnknownDefaultConnectionGivesAnEmptyList)
{
    RecordFilter filter = userPanel();
    TSettings settings;
    settings.DefaultTime = 1;
    settings.DefaultConnName = QStringLiteral("已删除的连接");
    resetToDefaults(filter, settings, zhang, kSundayEvening.date());
    EXPECT_EQ(filter.connections.index, -1);
    const RecordQuery query = defaultRecordsQuery(filter, settings.DefaultTime, zhang, kSundayEvening);
    EXPECT_EQ(query.values().value(QStringLiteral(":c")), QString());
    EXPECT_TRUE(starts(query).isEmpty());
}

TEST_F(RecordQueries, DefaultPeriodPastTheListRaisesTheConversionError)
{
    RecordFilter filter = userPanel();
    TSettings settings;
    settings.DefaultTime = 4;
    resetToDefaults(filter, settings, zhang, kSundayEvening.date());
    EXPECT_EQ(filter.periods.index, -1);
    try {
        defaultRecordsQuery(filter, settings.DefaultTime, zhang, kSundayEvening);
        FAIL() << "no conversion error";
    } catch (const DateConversionError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid date");
    }
}

TEST_F(RecordQueries, ListCarriesDurationTextsAndItsStatement)
{
    RecordFilter filter = adminPanel();
    filter.users.choose(QStringLiteral("所有用户"));
    filter.connections.choose(QStringLiteral("所有连接"));
    filter.periods.index = 0;
    const RecordQuery query = findRecordsQuery(filter, admin, kSundayEvening);
    RecordList list;
    list.open(data.db(), query);
    ASSERT_TRUE(list.isOpen());
    QStringList times;
    for (int row = 0; row < list.count(); ++row)
        times.append(list.record(row).Time);
    EXPECT_EQ(times, (QStringList{QStringLiteral("5分0秒"), QStringLiteral("1小时5分7秒"),
                                  QStringLiteral("1小时0分0秒"), QStringLiteral("0分42秒")}));
    EXPECT_EQ(list.record(1).ConnName, QStringLiteral("169"));
    EXPECT_EQ(list.record(1).UserId, kZhangId);
    EXPECT_FALSE(list.record(1).RecordId.isEmpty());
    EXPECT_EQ(list.query().text(), query.text());
    EXPECT_EQ(list.query().values(), query.values());
    list.close();
    EXPECT_FALSE(list.isOpen());
    EXPECT_EQ(list.count(), 0);
}

TEST_F(RecordQueries, DatabaseErrorLeavesTheListClosed)
{
    RecordList list;
    list.open(data.db(), RecordQuery(QStringLiteral("select * from XRRecord")));
    EXPECT_THROW(list.open(data.db(), RecordQuery(QStringLiteral("select * from XRMissing"))), DatabaseError);
    EXPECT_FALSE(list.isOpen());
    EXPECT_EQ(list.count(), 0);
}

} // namespace
} // namespace xr
