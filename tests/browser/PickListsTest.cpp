#include "UsageDatabase.h"

#include "store/Identifiers.h"
#include "store/PickLists.h"

#include <gtest/gtest.h>

namespace xr {
namespace {

TEST(PickLists, UserListHoldsEveryAccountThenAllUsers)
{
    test::UsageDatabase data;
    data.addUser(QStringLiteral("200403070905030"), QStringLiteral("张三"));
    const UserPickList users = FillUserNames(data.db());
    EXPECT_EQ(users.names, (QStringList{QStringLiteral("admin"), kAnonymousUserName, QStringLiteral("张三"),
                                        QStringLiteral("所有用户")}));
    EXPECT_EQ(users.ids, (QStringList{kBuiltInUserId, kAnonymousUserId, QStringLiteral("200403070905030"),
                                      QStringLiteral("所有用户")}));
}

TEST(PickLists, ConnectionListHoldsEachNameOfAllUsersOnceThenAllConnections)
{
    test::UsageDatabase data;
    EXPECT_EQ(FillConnNames(data.db()), QStringList{QStringLiteral("所有连接")});

    const QDateTime start(QDate(2004, 3, 7), QTime(9, 0));
    data.addRecord(start, start.addSecs(60), QStringLiteral("200403070905030"), QStringLiteral("163"));
    data.addRecord(start.addSecs(120), start.addSecs(180), kAnonymousUserId, QStringLiteral("169"));
    data.addRecord(start.addSecs(240), start.addSecs(300), kAnonymousUserId, QStringLiteral("163"));
    QStringList names = FillConnNames(data.db());
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(names.takeLast(), QStringLiteral("所有连接"));
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("163"), QStringLiteral("169")}));
}

} // namespace
} // namespace xr
