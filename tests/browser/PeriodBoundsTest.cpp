#include "store/PeriodBounds.h"
#include "store/DateConversionError.h"
#include "store/DayCount.h"

#include <gtest/gtest.h>

namespace xr {
namespace {

double at(int year, int month, int day, const QTime& time = QTime(0, 0))
{
    return toDayCount(QDateTime(QDate(year, month, day), time));
}

const QTime kLastMs(23, 59, 59, 999);

// The text of the conversion error that `period` raises, or empty when it converts.
std::string conversionError(const QString& period)
{
    try {
        customPeriodBounds(period);
    } catch (const DateConversionError& error) {
        return error.what();
    }
    return {};
}

TEST(PeriodBounds, ThisWeekOnSundayEveningRunsFromMonday)
{
    const TimeBounds week = thisWeekBounds(QDateTime(QDate(2004, 3, 7), QTime(23, 30)));
    EXPECT_EQ(week.s, at(2004, 3, 1));
    EXPECT_EQ(week.e, at(2004, 3, 7, kLastMs));
}

TEST(PeriodBounds, ThisWeekOnMondayMorningStartsThatDay)
{
    const TimeBounds week = thisWeekBounds(QDateTime(QDate(2004, 3, 8), QTime(0, 0, 1)));
    EXPECT_EQ(week.s, at(2004, 3, 8));
    EXPECT_EQ(week.e, at(2004, 3, 14, kLastMs));
}

TEST(PeriodBounds, WeekAndMonthAcrossAMonthEnd)
{
    const QDateTime now(QDate(2004, 3, 31), QTime(12, 0));
    const TimeBounds week = thisWeekBounds(now);
    EXPECT_EQ(week.s, at(2004, 3, 29));
    EXPECT_EQ(week.e, at(2004, 4, 4, kLastMs));
    const TimeBounds month = thisMonthBounds(now);
    EXPECT_EQ(month.s, at(2004, 3, 1));
    EXPECT_EQ(month.e, at(2004, 3, 31, kLastMs));
}

TEST(PeriodBounds, MonthOfALeapFebruaryAndOfDecember)
{
    const TimeBounds february = thisMonthBounds(QDateTime(QDate(2004, 2, 29), QTime(23, 59, 59)));
    EXPECT_EQ(february.s, at(2004, 2, 1));
    EXPECT_EQ(february.e, at(2004, 2, 29, kLastMs));
    const TimeBounds december = thisMonthBounds(QDateTime(QDate(2004, 12, 1), QTime(0, 0)));
    EXPECT_EQ(december.s, at(2004, 12, 1));
    EXPECT_EQ(december.e, at(2004, 12, 31, kLastMs));
}

TEST(PeriodBounds, CustomPeriodRunsToMidnightAfterItsLastDay)
{
    const TimeBounds march = customPeriodBounds(QStringLiteral("2004-3-1*2004-3-31"));
    EXPECT_EQ(march.s, at(2004, 3, 1));
    EXPECT_EQ(march.e, at(2004, 4, 1));
}

TEST(PeriodBounds, CustomPeriodEndIsReadFromTwelveCharacters)
{
    const TimeBounds period = customPeriodBounds(QStringLiteral("2004-12-1*2004-12-31  tail"));
    EXPECT_EQ(period.s, at(2004, 12, 1));
    EXPECT_EQ(period.e, at(2005, 1, 1));
    EXPECT_EQ(conversionError(QStringLiteral("2004-3-1*2004-3-31tail")),
              "'2004-3-31tai' is not a valid date");
}

TEST(PeriodBounds, TextsThatAreNotTwoDatesRaiseTheConversionError)
{
    EXPECT_EQ(conversionError(QString()), "'' is not a valid date");
    EXPECT_EQ(conversionError(QStringLiteral("2004-3-1")), "'' is not a valid date");
    EXPECT_EQ(conversionError(QStringLiteral("2004-3-1*")), "'' is not a valid date");
    EXPECT_EQ(conversionError(QStringLiteral("3/1/2004*2004-3-31")), "'3/1/2004' is not a valid date");
    EXPECT_EQ(conversionError(QStringLiteral("2004-3-1*2004-2-30")), "'2004-2-30' is not a valid date");
}

TEST(PeriodBounds, RuleGoesByPositionNotByText)
{
    const QDateTime now(QDate(2004, 3, 10), QTime(8, 0));
    EXPECT_EQ(periodBounds(0, QStringLiteral("2004-1-1*2004-1-2"), now).s, at(2004, 3, 8));
    EXPECT_EQ(periodBounds(1, QStringLiteral("本周"), now).s, at(2004, 3, 1));
    EXPECT_EQ(periodBounds(2, QStringLiteral("2004-1-1*2004-1-2"), now).e, at(2004, 1, 3));
    EXPECT_THROW(periodBounds(2, QStringLiteral("本周"), now), DateConversionError);
    EXPECT_THROW(periodBounds(-1, QString(), now), DateConversionError);
}

TEST(PeriodBounds, DatePickersGiveMidnightOfTheDayAndMidnightAfterIt)
{
    EXPECT_EQ(connectDateBound(QDate(2004, 3, 31)), at(2004, 3, 31));
    EXPECT_EQ(disconnectDateBound(QDate(2004, 3, 31)), at(2004, 4, 1));
}

} // namespace
} // namespace xr
