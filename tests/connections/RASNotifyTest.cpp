// The connection notifier over a scripted dial-up service.
#include "connections/RASNotify.h"

#include "FakeRemoteAccess.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QStringList>
#include <QTimer>

namespace xr {
namespace {

using platform::ras::StateConnected;
using platform::ras::StateAuthenticate;

// A notifier whose events are written down as "+Entry" / "-handle".
class NotifierTest : public ::testing::Test {
protected:
    void load()
    {
        notify.setPollInterval(1000);
        notify.OnConnected = [this](TRASNotify&, TRASNotify::ConnHandle, const QString& entry, const QString&,
                                    const QString&) { events << QStringLiteral("+") + entry; };
        notify.OnDisconnected = [this](TRASNotify&, TRASNotify::ConnHandle handle) {
            events << QStringLiteral("-%1").arg(handle, 0, 16);
        };
        notify.Loaded();
    }

    test::FakeRemoteAccess ras;
    TRASNotify notify{ras};
    QStringList events;
};

TEST_F(NotifierTest, ConnectionsUpAtTheFirstLookRaiseNothing)
{
    ras.addConnection("Office");
    load();
    EXPECT_TRUE(notify.IsConnected());
    EXPECT_EQ(notify.Count(), 1);
    EXPECT_EQ(notify.EntryNames(0), QStringLiteral("Office"));
    notify.Poll();
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(NotifierTest, EachConnectionIsReportedOnceInEnumerationOrder)
{
    load();
    EXPECT_FALSE(notify.IsConnected());
    ras.addConnection("First");
    ras.addConnection("Second");
    notify.Poll();
    notify.Poll();
    EXPECT_EQ(events, (QStringList{QStringLiteral("+First"), QStringLiteral("+Second")}));
    EXPECT_TRUE(notify.IsConnected());
    EXPECT_EQ(notify.Count(), 2);
}

TEST_F(NotifierTest, ConnectionFirstSeenWhileDialingIsReportedWhenConnected)
{
    load();
    const auto handle = ras.addConnection("Dialing", StateAuthenticate);
    notify.Poll();
    EXPECT_TRUE(events.isEmpty());
    EXPECT_FALSE(notify.IsConnected());
    ras.setState(handle, StateConnected);
    notify.Poll();
    notify.Poll();
    EXPECT_EQ(events, QStringList{QStringLiteral("+Dialing")});
    EXPECT_TRUE(notify.IsConnected());
}

TEST_F(NotifierTest, VanishedHandleIsReportedAsAllOnes)
{
    const auto vanishing = ras.addConnection("Gone");
    const auto stale = ras.addConnection("Stale");
    load();
    ras.removeConnection(vanishing);
    ras.setState(stale, StateAuthenticate);
    notify.Poll();
    EXPECT_EQ(events, (QStringList{QStringLiteral("-ffffffff"), QStringLiteral("-%1").arg(stale, 0, 16)}));
    EXPECT_EQ(notify.Count(), 1);
    EXPECT_FALSE(notify.IsConnected());
}

TEST_F(NotifierTest, InvalidPortHandleCountsAsVanished)
{
    const auto handle = ras.addConnection("Port");
    load();
    ras.statusResults[handle] = platform::ras::ErrorInvalidPortHandle;
    ras.removeConnection(handle);
    notify.Poll();
    EXPECT_EQ(events, QStringList{QStringLiteral("-ffffffff")});
}

TEST_F(NotifierTest, FailedEnumerationKeepsThePreviousListAndReportsAgain)
{
    ras.addConnection("Kept");
    load();
    ras.addConnection("Later");
    ras.enumConnectionsResult = 711;
    try {
        notify.Poll();
        FAIL() << "the poll should have failed";
    } catch (const ERASNotifyError& error) {
        EXPECT_STREQ(error.what(), "Could not enumerate connections.\r\nError Code 711");
    }
    EXPECT_EQ(notify.Count(), 1);
    EXPECT_EQ(notify.EntryNames(0), QStringLiteral("Kept"));
    EXPECT_TRUE(events.isEmpty());

    ras.enumConnectionsResult = 0;
    notify.Poll();
    EXPECT_EQ(events, QStringList{QStringLiteral("+Later")});
}

TEST_F(NotifierTest, AFailingServiceIsToldOnceAndAskedAgainAtEveryPollUntilItAnswers)
{
    // The first look fails: the list is empty, and the timer polls all the same.
    ras.addConnection("UpAtStart");
    ras.enumConnectionsResult = 621;
    EXPECT_THROW(load(), ERASNotifyError);
    EXPECT_EQ(notify.Count(), 0);

    // Still failing: each poll asks again, and says nothing more.
    for (int i = 0; i < 3; ++i)
        EXPECT_NO_THROW(notify.Poll());
    EXPECT_EQ(ras.enumerations, 4);

    // It answers: the connections it shows are reported as they are found.
    ras.enumConnectionsResult = 0;
    notify.Poll();
    EXPECT_EQ(events, QStringList{QStringLiteral("+UpAtStart")});
    EXPECT_TRUE(notify.IsConnected());

    // A later failure, here of a listed connection's state, is a new one and is told again.
    ras.statusResults[notify.Handles(0)] = 5;
    EXPECT_THROW(notify.Poll(), ERASNotifyError);
    EXPECT_NO_THROW(notify.Poll());
    ras.statusResults.clear();
    ras.addConnection("Second");
    notify.Poll();
    EXPECT_EQ(events, (QStringList{QStringLiteral("+UpAtStart"), QStringLiteral("+Second")}));

    // The timer runs after a failed first look too.
    TRASNotify timed(ras);
    ras.enumConnectionsResult = 621;
    timed.setPollInterval(200);
    EXPECT_THROW(timed.Loaded(), ERASNotifyError);
    ras.enumConnectionsResult = 0;
    QEventLoop loop;
    timed.OnConnected = [&loop](TRASNotify&, TRASNotify::ConnHandle, const QString&, const QString&,
                                const QString&) { loop.quit(); };
    QTimer::singleShot(5000, &loop, [&loop] { loop.exit(1); });
    EXPECT_EQ(loop.exec(), 0);
}

TEST_F(NotifierTest, FailingHandlerLeavesTheChangeToBeReportedAgain)
{
    load();
    ras.addConnection("Retry");
    int calls = 0;
    notify.OnConnected = [&calls](TRASNotify& sender, TRASNotify::ConnHandle, const QString&, const QString&,
                                  const QString&) {
        ++calls;
        EXPECT_EQ(sender.Count(), 0) << "the new list is installed only after the events";
        if (calls == 1)
            throw std::runtime_error("insert failed");
    };
    EXPECT_THROW(notify.Poll(), std::runtime_error);
    EXPECT_EQ(notify.Count(), 0);
    notify.Poll();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(notify.Count(), 1);
}

TEST_F(NotifierTest, FailedStateQueryOfAListedConnectionEndsThePoll)
{
    const auto handle = ras.addConnection("Flaky");
    load();
    ras.statusResults[handle] = 5;
    EXPECT_THROW(notify.Poll(), ERASNotifyError);
    EXPECT_EQ(notify.Handles(0), handle);
}

TEST_F(NotifierTest, ShortMemoryAndGrowingBeyondSixteen)
{
    for (int i = 0; i < 20; ++i)
        ras.addConnection("Many" + std::to_string(i));
    load();
    EXPECT_EQ(notify.Count(), 20);
    EXPECT_EQ(ras.enumerations, 2) << "a list past 16 entries is asked for again at the size the service needs";

    ras.enumConnectionsResult = platform::ras::ErrorNotEnoughMemory;
    try {
        notify.Poll();
        FAIL() << "short memory should raise";
    } catch (const EOutOfMemory& error) {
        EXPECT_STREQ(error.what(), "Not enough memory to complete operation");
    }
}

TEST_F(NotifierTest, IntervalOutsideTheRangeIsIgnored)
{
    load();
    notify.setPollInterval(199);
    EXPECT_EQ(notify.PollInterval(), 1000);
    notify.setPollInterval(60001);
    EXPECT_EQ(notify.PollInterval(), 1000);
    notify.setPollInterval(200);
    EXPECT_EQ(notify.PollInterval(), 200);
    notify.setPollInterval(60000);
    EXPECT_EQ(notify.PollInterval(), 60000);
}

TEST_F(NotifierTest, DisableDropsTheListAndEnableRebuildsItSilently)
{
    ras.addConnection("Up");
    load();
    QStringList switches;
    notify.OnEnable = [&switches](TRASNotify&) { switches << QStringLiteral("enable"); };
    notify.OnDisable = [&switches](TRASNotify&) { switches << QStringLiteral("disable"); };

    notify.setEnabled(false);
    EXPECT_EQ(notify.Count(), 0);
    EXPECT_FALSE(notify.IsConnected());
    notify.setEnabled(false);

    ras.addConnection("WhileDisabled");
    notify.setEnabled(true);
    EXPECT_EQ(notify.Count(), 2);
    EXPECT_TRUE(notify.IsConnected());
    notify.Poll();
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(switches, (QStringList{QStringLiteral("disable"), QStringLiteral("enable")}));
}

TEST_F(NotifierTest, IndexOutsideTheListRaisesInvalidIndex)
{
    load();
    try {
        notify.Handles(0);
        FAIL() << "an empty list has no entry 0";
    } catch (const ERASNotifyError& error) {
        EXPECT_STREQ(error.what(), "Invalid index");
    }
    EXPECT_THROW(notify.EntryNames(-1), ERASNotifyError);
}

TEST_F(NotifierTest, TimerPollsAtTheInterval)
{
    load();
    notify.setPollInterval(200);
    ras.addConnection("Timed");
    QEventLoop loop;
    notify.OnConnected = [&loop, this](TRASNotify&, TRASNotify::ConnHandle, const QString& entry, const QString&,
                                       const QString&) {
        events << entry;
        loop.quit();
    };
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(events, QStringList{QStringLiteral("Timed")});
}

} // namespace
} // namespace xr
