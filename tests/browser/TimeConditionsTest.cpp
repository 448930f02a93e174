#include "browser/TimeConditions.h"

#include <gtest/gtest.h>

namespace xr {
namespace {

// The check boxes and the enabled controls, in one comparable value.
struct State {
    bool period, connect, disconnect, list, connectPicker, disconnectPicker;
    bool operator==(const State&) const = default;
};

void PrintTo(const State& s, std::ostream* os)
{
    *os << "time=" << s.period << " sdt=" << s.connect << " edt=" << s.disconnect << " cbTime=" << s.list
        << " dtpSd=" << s.connectPicker << " dtpEd=" << s.disconnectPicker;
}

State stateOf(const TimeConditions& c)
{
    return {c.period(),
            c.connectDate(),
            c.disconnectDate(),
            c.periodListEnabled(),
            c.connectPickerEnabled(),
            c.disconnectPickerEnabled()};
}

const State kPeriodOnly{true, false, false, true, false, false};
const State kBothDates{false, true, true, false, true, true};

TEST(TimeConditions, StartsWithThePeriodCondition)
{
    EXPECT_EQ(stateOf(TimeConditions()), kPeriodOnly);
}

TEST(TimeConditions, PeriodClearedTurnsOnBothDatesAndBack)
{
    TimeConditions conditions;
    conditions.setPeriod(false);
    EXPECT_EQ(stateOf(conditions), kBothDates);
    conditions.setPeriod(true);
    EXPECT_EQ(stateOf(conditions), kPeriodOnly);
}

TEST(TimeConditions, DateConditionSetWhilePeriodIsOnClearsThePeriod)
{
    TimeConditions conditions;
    conditions.setConnectDate(true);
    EXPECT_EQ(stateOf(conditions), kBothDates);

    TimeConditions other;
    other.setDisconnectDate(true);
    EXPECT_EQ(stateOf(other), kBothDates);
}

TEST(TimeConditions, OneDateConditionAloneKeepsThePeriodOff)
{
    TimeConditions conditions;
    conditions.setPeriod(false);
    conditions.setConnectDate(false);
    EXPECT_EQ(stateOf(conditions), (State{false, false, true, false, false, true}));
    conditions.setConnectDate(true);
    conditions.setDisconnectDate(false);
    EXPECT_EQ(stateOf(conditions), (State{false, true, false, false, true, false}));
}

TEST(TimeConditions, ClearingTheLastDateConditionTurnsThePeriodOn)
{
    TimeConditions conditions;
    conditions.setPeriod(false);
    conditions.setDisconnectDate(false);
    conditions.setConnectDate(false);
    EXPECT_EQ(stateOf(conditions), kPeriodOnly);

    conditions.setPeriod(false);
    conditions.setConnectDate(false);
    conditions.setDisconnectDate(false);
    EXPECT_EQ(stateOf(conditions), kPeriodOnly);
}

TEST(TimeConditions, SettingABoxToItsPresentStateChangesNothing)
{
    TimeConditions conditions;
    conditions.setPeriod(true);
    conditions.setConnectDate(false);
    EXPECT_EQ(stateOf(conditions), kPeriodOnly);
}

} // namespace
} // namespace xr
