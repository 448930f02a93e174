#include "CheckedModel.h"
#include "UsageDatabase.h"

#include "browser/RecordList.h"
#include "browser/RecordListModel.h"
#include "browser/RecordQueries.h"
#include "browser/TotalTime.h"
#include "store/DayCount.h"
#include "store/DatabaseError.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

namespace xr {
namespace {

const QString kUser = QStringLiteral("200403070905030");
const QDateTime kStart(QDate(2004, 3, 1), QTime(8, 0));

// Durations in seconds: whole minutes, seconds, hours, days, a hundred days and more.
const QList<qint64> kDurations{0, 1, 42, 300, 3907, 86399, 86400 + 300, 2 * 86400 + 3 * 3600 + 245,
                               123 * 86400 + 4 * 3600 + 306, 99 * 86400 + 86399};

RecordQuery everything()
{
    return RecordQuery(QStringLiteral("select * from XRRecord where (UserId = :u) order by Sdt,ConnName"));
}

class UsageList : public ::testing::Test {
protected:
    UsageList()
    {
        for (int i = 0; i < kDurations.size(); ++i) {
            const QDateTime start = kStart.addDays(i);
            data.addRecord(start, start.addSecs(kDurations[i]), kUser, QStringLiteral("163"));
        }
    }
    RecordQuery query() const
    {
        RecordQuery q = everything();
        q.bind(QStringLiteral(":u"), kUser);
        return q;
    }
    QStringList timeTexts(const RecordList& list) const
    {
        QStringList texts;
        for (int row = 0; row < list.count(); ++row)
            texts << list.record(row).Time;
        return texts;
    }

    test::UsageDatabase data;
};

TEST_F(UsageList, TotalOfTheOpenedListEqualsTheTotalOfItsTimeTexts)
{
    RecordList list;
    list.open(data.db(), query());
    ASSERT_EQ(list.count(), kDurations.size());
    for (int precision : {0, 1, 2}) {
        EXPECT_EQ(list.sums().totalText(precision), CalcTotalTime(timeTexts(list), precision))
            << "precision " << precision;
    }
    EXPECT_EQ(list.sums().totalText(1), QStringLiteral("累计上网时间： 227天8小时24分59秒"));
}

TEST_F(UsageList, RemovingARecordDeletesItsRowAndItsDuration)
{
    RecordList list;
    list.open(data.db(), query());
    list.forgetRecord(4, list.deleteRecord(4));
    EXPECT_EQ(list.count(), kDurations.size() - 1);
    EXPECT_EQ(list.record(4).Time, QStringLiteral("23小时59分59秒"));
    EXPECT_EQ(list.sums().totalText(1), CalcTotalTime(timeTexts(list), 1));
    RecordList reopened;
    reopened.open(data.db(), query());
    EXPECT_EQ(timeTexts(reopened), timeTexts(list));
}

// The grid's model under Qt's model checks: a delete the table refuses leaves every row listed.
TEST_F(UsageList, TheGridKeepsARowWhoseDeleteFailsAndLosesOneThatIsDeleted)
{
    RecordListModel model;
    test::CheckedModel checked{&model};
    model.open(data.db(), query());
    const QString fifth = model.index(4, RecordListModel::TimeColumn).data().toString();
    ASSERT_TRUE(QSqlQuery(data.db()).exec(QStringLiteral(
        "create trigger kept before delete on XRRecord begin select raise(abort, 'kept'); end")));
    EXPECT_THROW(model.removeRecord(4), DatabaseError);
    EXPECT_EQ(model.rowCount(), kDurations.size());
    EXPECT_EQ(model.index(4, RecordListModel::TimeColumn).data().toString(), fifth);
    EXPECT_EQ(model.list().sums().totalText(1), QStringLiteral("累计上网时间： 227天8小时24分59秒"));

    ASSERT_TRUE(QSqlQuery(data.db()).exec(QStringLiteral("drop trigger kept")));
    model.removeRecord(4);
    EXPECT_EQ(model.rowCount(), kDurations.size() - 1);
    EXPECT_EQ(model.index(4, RecordListModel::TimeColumn).data().toString(),
              QStringLiteral("23小时59分59秒"));
}

TEST(UsageListRows, RowsAreReadInBlocksAndInListOrder)
{
    test::UsageDatabase data;
    // Inserted newest first, so that list order and table order differ.
    data.db().transaction();
    for (int i = 199; i >= 0; --i)
        data.addRecord(kStart.addSecs(i * 60), kStart.addSecs(i * 60 + i), kUser, QStringLiteral("%1").arg(i));
    data.db().commit();
    RecordList list;
    list.open(data.db(), RecordQuery(QStringLiteral("select * from XRRecord order by Sdt,ConnName")));
    ASSERT_EQ(list.count(), 200);
    for (int row : {0, 63, 64, 150, 199}) {
        EXPECT_EQ(list.record(row).ConnName, QString::number(row));
        EXPECT_EQ(fromDayCount(list.record(row).Sdt), kStart.addSecs(row * 60));
    }
    // A row deleted by another hand shows empty.
    QSqlQuery(data.db()).exec(QStringLiteral("delete from XRRecord where ConnName = '7'"));
    RecordList fresh;
    fresh.open(data.db(), RecordQuery(QStringLiteral("select * from XRRecord where (Sdt >= 0) order by Sdt")));
    QSqlQuery(data.db()).exec(QStringLiteral("delete from XRRecord where ConnName = '8'"));
    EXPECT_EQ(fresh.count(), 199);
    EXPECT_TRUE(fresh.record(7).ConnName.isEmpty());
    EXPECT_EQ(fresh.record(8).ConnName, QStringLiteral("9"));
}

TEST(UsageListRows, StatementErrorLeavesTheListClosed)
{
    test::UsageDatabase data;
    RecordList list;
    EXPECT_THROW(list.open(data.db(), RecordQuery(QStringLiteral("select * from XRMissing"))), DatabaseError);
    EXPECT_FALSE(list.isOpen());
}

TEST(DeleteAllQuery, TakesTheConditionsAndTheValuesTheListWasOpenedWith)
{
    RecordQuery list(QStringLiteral(
        "select * from XRRecord where (UserId = :u) and (Sdt >= :s) and (Edt <= :e)  order by Sdt,ConnName"));
    list.bind(QStringLiteral(":u"), kUser);
    list.bind(QStringLiteral(":s"), 38047.0);
    list.bind(QStringLiteral(":e"), 38053.999);
    const RecordQuery deletion = deleteAllQuery(list);
    EXPECT_EQ(deletion.text(),
              QStringLiteral("delete from XRRecord where (UserId = :u) and (Sdt >= :s) and (Edt <= :e)  "));
    EXPECT_EQ(deletion.values(), list.values());

    RecordQuery ordinary(QStringLiteral(
        "select * from XRRecord where (UserId = '1') and (ConnName = :c) and (Sdt >= :s)  order by Sdt,ConnName"));
    ordinary.bind(QStringLiteral(":c"), QStringLiteral("163"));
    ordinary.bind(QStringLiteral(":s"), 38047.0);
    ordinary.bind(QStringLiteral(":e"), 1.0); // not in the statement, not carried over
    const RecordQuery ordinaryDeletion = deleteAllQuery(ordinary);
    EXPECT_EQ(ordinaryDeletion.text(),
              QStringLiteral("delete from XRRecord where (UserId = '1') and (ConnName = :c) and (Sdt >= :s)  "));
    EXPECT_EQ(ordinaryDeletion.values().keys(), (QStringList{QStringLiteral(":c"), QStringLiteral(":s")}));

    EXPECT_EQ(deleteAllQuery(RecordQuery(QStringLiteral("select * from XRRecord order by Sdt,ConnName"))).text(),
              QStringLiteral("delete from XRRecord "));
}

} // namespace
} // namespace xr
