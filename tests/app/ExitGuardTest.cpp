// The open record's end time is written when the event loop ends for any reason and when a
// signal ends the session.
#include "app/ExitGuard.h"
#include "platform/PosixSessionEndSignals.h"

#include "TrayFixture.h"

#include <QCoreApplication>
#include <QTimer>

#include <csignal>

namespace xr::test {
namespace {

class ExitGuardTest : public TrayFixture {
protected:
    void SetUp() override
    {
        createDatabase();
        ras.addConnection("Office");
        startTray();
        exitGuard.guard(*tray);
        advanceSeconds(30);
    }

    ExitGuard exitGuard{std::make_unique<platform::PosixSessionEndSignals>()};
};

TEST_F(ExitGuardTest, ALoopEndedFromAnywhereLeavesTheEndTimeWritten)
{
    QTimer::singleShot(0, [] { QCoreApplication::exit(3); });
    EXPECT_EQ(exitGuard.exec(), 3);
    EXPECT_EQ(records().value(0).edt, now());
    EXPECT_GT(records().value(0).edt, records().value(0).sdt);
}

TEST_F(ExitGuardTest, SessionEndingSignalsWriteTheEndTimeAndEndTheLoop)
{
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        advanceSeconds(5);
        exitGuard.guard(*tray);
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(2); });
        EXPECT_EQ(exitGuard.exec(), 0);
        EXPECT_EQ(records().value(0).edt, now());
    }
    EXPECT_TRUE(tray->adoConnMain().isOpen()) << "the session's end closes nothing";
}

} // namespace
} // namespace xr::test
