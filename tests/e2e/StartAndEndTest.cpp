// The real program's start-up and end: a dial-up service that fails at the start leaves a
// working program, the no-tray stand-in keeps it within reach, and every way the program ends
// writes the open record's end time, also when the display goes away first.
#include "ProgramFolder.h"
#include "VirtualDisplay.h"

#include "store/DayCount.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QThread>

namespace xr::test {
namespace {

constexpr double kOneSecond = 1.0 / 86400.0;

double nowDays()
{
    return toDayCount(QDateTime::currentDateTime());
}

class StartAndEnd : public ::testing::Test {
protected:
    QList<QStringList> records()
    {
        return folder.rows(QStringLiteral("select Sdt, Edt, ConnName from XRRecord"));
    }
    bool waitForRecord()
    {
        return ProgramFolder::waitUntil([this] { return records().size() == 1; });
    }
    // Starts the program on a display of its own; false when the test is skipped.
    bool startOnDisplay()
    {
        folder.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        folder.setEnvironment(QStringLiteral("DISPLAY"), display->name());
        return folder.start();
    }
    // A display of its own, for the cases that need one.
    void useDisplay()
    {
        if (const QString tool = VirtualDisplay::missingTool(); !tool.isEmpty())
            GTEST_SKIP() << tool.toStdString() << " is not installed (scripts/install-deps installs it)";
        display = std::make_unique<VirtualDisplay>();
        ASSERT_FALSE(display->name().isEmpty()) << "Xvfb did not start";
    }

    ProgramFolder folder;
    std::unique_ptr<VirtualDisplay> display;
};

TEST_F(StartAndEnd, ACorruptServiceStateAtStartIsToldOnceAndALaterConnectionIsRecorded)
{
    QFile state(folder.path(QStringLiteral("SimRas.json")));
    ASSERT_TRUE(state.open(QIODevice::WriteOnly));
    state.write("not json");
    state.close();
    ASSERT_TRUE(folder.start()) << folder.errorOutput().toStdString();
    QThread::msleep(2500); // polls that meet the same failure

    ASSERT_TRUE(QFile::remove(state.fileName()));
    ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0);
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(waitForRecord()) << folder.errorOutput().toStdString();
    EXPECT_EQ(records()[0][2], QStringLiteral("Office"));
    // Told once, whatever the number of polls that met the failure.
    EXPECT_EQ(folder.unexpectedPrompts(),
              QStringList{QStringLiteral("prompt: error: Could not enumerate connections.\\r")});
    EXPECT_EQ(folder.errorOutput().count(QStringLiteral("\nError Code 621\n")), 1)
        << folder.errorOutput().toStdString();
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

TEST_F(StartAndEnd, TheDisplayKilledWhileConnectedLeavesTheEndTimeWritten)
{
    useDisplay();
    if (IsSkipped())
        return;
    ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(startOnDisplay());
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    ASSERT_TRUE(waitForRecord());
    QThread::msleep(2000);

    const double killed = nowDays();
    display->kill();
    ASSERT_TRUE(folder.waitForExit());
    EXPECT_TRUE(folder.errorOutput().contains(QStringLiteral("The X11 connection broke")))
        << folder.errorOutput().toStdString();
    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_NEAR(rows[0][1].toDouble(), killed, kOneSecond);
    EXPECT_GT(rows[0][1].toDouble(), rows[0][0].toDouble() + kOneSecond);
}

TEST_F(StartAndEnd, SigtermWhileAStartUpMessageBoxIsOpenWritesTheEndTime)
{
    useDisplay();
    if (IsSkipped())
        return;
    ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0);
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    folder.setEnvironment(QStringLiteral("XARVANE_PROMPTS"), QString()); // real message boxes
    ASSERT_TRUE(startOnDisplay());
    ASSERT_TRUE(waitForRecord());
    // The no-tray notice stands open beside the stand-in, both under the program's title.
    ASSERT_TRUE(ProgramFolder::waitUntil([this] {
        return display
                   ->xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--name"), QStringLiteral("^XarvaneXR$")})
                   .count(QLatin1Char('\n')) == 1;
    }));
    QThread::msleep(1500);

    const double terminated = nowDays();
    folder.terminate();
    ASSERT_TRUE(folder.waitForExit());
    EXPECT_EQ(folder.program().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(folder.program().exitCode(), 0);
    const auto rows = records();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_NEAR(rows[0][1].toDouble(), terminated, kOneSecond);
}

TEST_F(StartAndEnd, WithoutANotificationAreaTheStandInIsShownAndOpensTheSignInOnADoubleClick)
{
    useDisplay();
    if (IsSkipped())
        return;
    ASSERT_TRUE(startOnDisplay());
    QString handle;
    ASSERT_TRUE(ProgramFolder::waitUntil(
        [&] { return !(handle = display->visibleWindow(QStringLiteral("^XarvaneXR$"))).isEmpty(); }));
    EXPECT_EQ(folder.prompts().size(), 1);
    EXPECT_TRUE(folder.unexpectedPrompts().isEmpty()) << folder.errorOutput().toStdString();

    // A double-click while nobody is signed in opens the sign-in dialog, titled as it is given.
    display->xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), handle, QStringLiteral("8"),
                      QStringLiteral("8")});
    display->xdotool(
        {QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("1")});
    QString login;
    ASSERT_TRUE(ProgramFolder::waitUntil(
        [&] { return !(login = display->visibleWindow(QStringLiteral("登录XR"))).isEmpty(); }));
    EXPECT_EQ(display->windowTitle(login), QStringLiteral("登录XR"));
    QThread::msleep(3500); // the stand-in's next look
    EXPECT_EQ(folder.prompts().size(), 1) << "the notice is given once";
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

} // namespace
} // namespace xr::test
