#pragma once
// A test on NetworkManager's mock, which is this process's system bus: skipped where the machine
// lacks dbus-daemon or python3-dbusmock, failed where they are there but do not start.

#include "NmMock.h"

#include <gtest/gtest.h>

namespace xr::test {

class NmMockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!mock.available())
            GTEST_SKIP() << mock.whyUnavailable().toStdString();
        ASSERT_TRUE(mock.running()) << mock.whyUnavailable().toStdString();
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", mock.busAddress().toUtf8());
    }
    // Whether the test goes on after SetUp.
    bool ready() const { return !IsSkipped() && !HasFatalFailure(); }

    NmMock mock;
};

} // namespace xr::test
