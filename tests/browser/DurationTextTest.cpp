#include "browser/DurationText.h"
#include "store/DayCount.h"

#include <gtest/gtest.h>

#include <cmath>

namespace xr {
namespace {

constexpr qint64 kSecond = 1000;
constexpr qint64 kMinute = 60 * kSecond;
constexpr qint64 kHour = 60 * kMinute;
constexpr qint64 kDay = 24 * kHour;

struct Row {
    qint64 difference; // ms
    QString word;
    QString compact;
};

// The worked table of durations, with the word form and the compact form of each.
const Row kRows[] = {
    {0, QStringLiteral("0分0秒"), QStringLiteral("00 00:00:00")},
    {42 * kSecond, QStringLiteral("0分42秒"), QStringLiteral("00 00:00:42")},
    {59 * kMinute + 59600, QStringLiteral("59分59秒"), QStringLiteral("00 00:59:59")},
    {kHour + 5 * kMinute + 7 * kSecond, QStringLiteral("1小时5分7秒"), QStringLiteral("00 01:05:07")},
    {10 * kHour + 30 * kMinute, QStringLiteral("10小时30分0秒"), QStringLiteral("00 10:30:00")},
    {kDay + 5 * kMinute, QStringLiteral("1天0小时5分0秒"), QStringLiteral("01 00:05:00")},
    {2 * kDay + 3 * kHour + 4 * kMinute + 5 * kSecond, QStringLiteral("2天3小时4分5秒"),
     QStringLiteral("02 03:04:05")},
    {12 * kDay, QStringLiteral("12天0小时0分0秒"), QStringLiteral("12 00:00:00")},
    {123 * kDay + 4 * kHour + 5 * kMinute + 6 * kSecond, QStringLiteral("123天4小时5分6秒"),
     QStringLiteral("123 04:05:06")},
};

const QDateTime kStart(QDate(2004, 3, 7), QTime(21, 17, 43, 250));

double startCount()
{
    return toDayCount(kStart);
}
double endCount(qint64 difference)
{
    return toDayCount(kStart.addMSecs(difference));
}

TEST(DurationText, WorkedTableInBothForms)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.word.toStdString());
        EXPECT_EQ(DurationText(false, startCount(), endCount(row.difference)), row.word);
        EXPECT_EQ(DurationText(true, startCount(), endCount(row.difference)), row.compact);
    }
}

TEST(DurationText, EndBeforeStartGivesTheSameTexts)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.word.toStdString());
        EXPECT_EQ(DurationText(false, endCount(row.difference), startCount()), row.word);
        EXPECT_EQ(DurationText(true, endCount(row.difference), startCount()), row.compact);
    }
}

TEST(DurationText, FractionOfASecondIsDroppedNeverRoundedUp)
{
    EXPECT_EQ(DurationText(false, startCount(), endCount(59 * kMinute + 59999)), QStringLiteral("59分59秒"));
    EXPECT_EQ(DurationText(false, startCount(), endCount(999)), QStringLiteral("0分0秒"));
    EXPECT_EQ(DurationText(true, startCount(), endCount(kDay - 1)), QStringLiteral("00 23:59:59"));
}

TEST(DurationText, ZeroUnitsInsideTheTextAreWritten)
{
    EXPECT_EQ(DurationText(false, startCount(), endCount(10 * kHour + 5 * kSecond)),
              QStringLiteral("10小时0分5秒"));
    EXPECT_EQ(DurationText(false, startCount(), endCount(kDay)), QStringLiteral("1天0小时0分0秒"));
}

TEST(DurationText, LongDurationsAreWrittenWhole)
{
    const qint64 longest = 123 * kDay + 23 * kHour + 59 * kMinute + 59 * kSecond;
    EXPECT_EQ(DurationText(false, startCount(), endCount(longest)), QStringLiteral("123天23小时59分59秒"));
    EXPECT_EQ(DurationText(true, startCount(), endCount(longest)), QStringLiteral("123 23:59:59"));
}

TEST(DurationText, DamagedDayCountsStayWithinRange)
{
    EXPECT_EQ(DurationText(true, 0, 1.0e300), QStringLiteral("100000000 00:00:00"));
    EXPECT_EQ(DurationText(false, 0, std::nan("")), QStringLiteral("100000000天0小时0分0秒"));
}

TEST(ReadDuration, EveryWorkedRowReadsBackItsComponents)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.word.toStdString());
        const qint64 ms = row.difference;
        EXPECT_EQ(ReadDays(row.word), ms / kDay);
        EXPECT_EQ(ReadHours(row.word), ms % kDay / kHour);
        EXPECT_EQ(ReadMinutes(row.word), ms % kHour / kMinute);
        EXPECT_EQ(ReadSeconds(row.word), ms % kMinute / kSecond);
    }
}

TEST(ReadDuration, TwoDigitComponentsAndLongDays)
{
    const QString text = QStringLiteral("123天23小时59分59秒");
    EXPECT_EQ(ReadDays(text), 123);
    EXPECT_EQ(ReadHours(text), 23);
    EXPECT_EQ(ReadMinutes(text), 59);
    EXPECT_EQ(ReadSeconds(text), 59);
}

TEST(ReadDuration, TextCutBeforeItsSecondsUnitStillYieldsTwoDigits)
{
    EXPECT_EQ(ReadSeconds(QStringLiteral("99天23小时59分59")), 59);
    EXPECT_EQ(ReadSeconds(QStringLiteral("99天23小时59分5")), 5);
    EXPECT_EQ(ReadMinutes(QStringLiteral("99天23小时59分59")), 59);
}

} // namespace
} // namespace xr
