#include "browser/TotalTime.h"
#include "browser/ByteCountText.h"

#include <gtest/gtest.h>

namespace xr {
namespace {

const QStringList kWorkedList{QStringLiteral("1小时5分7秒"), QStringLiteral("0分42秒"),
                              QStringLiteral("2天3小时4分0秒")};

TEST(CalcTotalTime, WorkedListByMinutesCountsEveryBegunMinute)
{
    EXPECT_EQ(CalcTotalTime(kWorkedList, 0), QStringLiteral("累计上网时间： 2天4小时11分"));
}

TEST(CalcTotalTime, WorkedListBySeconds)
{
    EXPECT_EQ(CalcTotalTime(kWorkedList, 1), QStringLiteral("累计上网时间： 2天4小时9分49秒"));
}

TEST(CalcTotalTime, SecondsCarryThroughMinutesAndHoursIntoDays)
{
    const QStringList list{QStringLiteral("23小时59分30秒"), QStringLiteral("0分45秒")};
    EXPECT_EQ(CalcTotalTime(list, 1), QStringLiteral("累计上网时间： 1天0小时0分15秒"));
    EXPECT_EQ(CalcTotalTime(list, 0), QStringLiteral("累计上网时间： 1天0小时1分"));
}

TEST(CalcTotalTime, UnknownPrecisionLeavesZero)
{
    EXPECT_EQ(CalcTotalTime(kWorkedList, 2), QStringLiteral("累计上网时间： 0"));
    EXPECT_EQ(CalcTotalTime(kWorkedList, -1), QStringLiteral("累计上网时间： 0"));
}

TEST(CalcTotalTime, EmptyListShowsZero)
{
    EXPECT_EQ(CalcTotalTime({}, 0), QStringLiteral("累计上网时间： 0"));
    EXPECT_EQ(CalcTotalTime({}, 1), QStringLiteral("累计上网时间： 0"));
}

TEST(CalcTotalTime, ByMinutesOneSecondIsAWholeMinuteAndWholeMinutesStayExact)
{
    EXPECT_EQ(CalcTotalTime({QStringLiteral("0分1秒")}, 0), QStringLiteral("累计上网时间： 0天0小时1分"));
    EXPECT_EQ(CalcTotalTime({QStringLiteral("5分0秒")}, 0), QStringLiteral("累计上网时间： 0天0小时5分"));
    EXPECT_EQ(CalcTotalTime({QStringLiteral("0分0秒")}, 0), QStringLiteral("累计上网时间： 0天0小时0分"));
}

TEST(CalcTotalTime, RecordOfMoreThanHundredDaysCountsWhole)
{
    const QStringList list{QStringLiteral("123天23小时59分59秒"), QStringLiteral("0分1秒")};
    EXPECT_EQ(CalcTotalTime(list, 1), QStringLiteral("累计上网时间： 124天0小时0分0秒"));
    EXPECT_EQ(CalcTotalTime(list, 0), QStringLiteral("累计上网时间： 124天0小时1分"));
}

// Each unit takes over where the one below would round to 1024 of it.
TEST(ByteCountText, WholeBytesThenOneDecimalOfTheLargestUnitBelow1024)
{
    const std::pair<qint64, const char*> cases[] = {
        {0, "0 B"},
        {1023, "1023 B"},
        {1024, "1.0 KB"},
        {1536, "1.5 KB"},
        {1024 * 1024 - 52, "1023.9 KB"},
        {1024 * 1024 - 51, "1.0 MB"},
        {5LL * 1024 * 1024 + 300 * 1024, "5.3 MB"},
        {3LL * 1024 * 1024 * 1024, "3.0 GB"},
        {5000LL * 1024 * 1024 * 1024, "5000.0 GB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(byteCountText(bytes), QString::fromUtf8(text)) << bytes;
    EXPECT_EQ(byteCountText(std::nullopt), QString());
}

} // namespace
} // namespace xr
