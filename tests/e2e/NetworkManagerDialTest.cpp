// The real program dialling through NetworkManager's mock on a virtual X display: signing in with
// "登录后自动拨号" activates the default profile and its connection is recorded for the user; a
// failed or refused activation shows the error layout with our code and its Chinese text; the
// default connection dialog lists the profiles a person can choose.
#include "DialWindows.h"
#include "NmMockTest.h"
#include "ProgramFolder.h"
#include "VirtualDisplay.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace xr::test {
namespace {

const QString kAdminId = QStringLiteral("000000000000000001");
const QString kAnonymousId = QStringLiteral("000000000000000002");
constexpr unsigned kActivated = 2;
constexpr unsigned kDeactivated = 4;
constexpr unsigned kLoginFailed = 10;

class NetworkManagerDialEndToEnd : public NmMockTest {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "import", "xclip"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
        NmMockTest::SetUp();
        if (!ready())
            return;
        ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
        eth0 = mock.addEthernetDevice(QStringLiteral("eth0"), QStringLiteral("eth0"));
        office = mock.addProfile(QStringLiteral("Office"), QStringLiteral("802-3-ethernet"));
        folder.setEnvironment(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), mock.busAddress());
        folder.setEnvironment(QStringLiteral("XARVANE_RAS"), QString());
        folder.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        folder.setEnvironment(QStringLiteral("DISPLAY"), display.name());
        folder.setSetting(QStringLiteral("DefaultConn"), QStringLiteral("Office"));
        folder.setSetting(QStringLiteral("LoginDial"), 1);
        folder.setSetting(QStringLiteral("RecordLan"), 1); // the wired profile is an entry
    }

    void TearDown() override
    {
        if (folder.program().state() != QProcess::Running)
            return;
        EXPECT_TRUE(folder.unexpectedPrompts().isEmpty()) << folder.errorOutput().toStdString();
        folder.terminate();
        EXPECT_TRUE(folder.waitForExit());
    }

    QList<QStringList> records()
    {
        return folder.rows(QStringLiteral("select UserId, ConnName from XRRecord order by Sdt"));
    }

    // The sign-in dialog is opened the way a person without a tray meets it: a connection made
    // outside the program comes up (and is recorded anonymously). It ends before the sign-in,
    // so that the sign-in finds nothing connected.
    void signInWithNothingConnected()
    {
        ASSERT_TRUE(folder.start());
        const QString outside = mock.activate(office, eth0);
        const QString login = display.waitForWindow(QStringLiteral("登录XR"));
        ASSERT_FALSE(login.isEmpty()) << folder.errorOutput().toStdString();
        mock.deactivate(outside);
        ASSERT_TRUE(ProgramFolder::waitUntil([&] {
            return folder.rows(QStringLiteral("select count(*) from XRRecord where Edt > Sdt")) ==
                   QList<QStringList>{{QStringLiteral("1")}};
        })) << "the program saw the connection end";
        windows.signInAsAdmin(login);
    }

    // The active connection NetworkManager made for the program's dial, once the program follows
    // it: it asks for the connection's state after it has begun listening to its changes, so a
    // change made from then on reaches it.
    QString dialledConnection()
    {
        QString active;
        ProgramFolder::waitUntil([&] {
            active = mock.activeConnections().value(0);
            QFile log(mock.logPath());
            return !active.isEmpty() && log.open(QIODevice::ReadOnly) &&
                   log.readAll().contains(
                       QStringLiteral("GetAll %1 org.freedesktop.NetworkManager.Connection.Active").arg(active).toUtf8());
        });
        return active;
    }

    // Presses the keys named in `keys`, one after the other.
    void key(const QString& keys) const
    {
        display.xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("150")} +
                        keys.split(QLatin1Char(' ')));
    }

    // The main window, opened as a person without a tray opens it: a double-click on the
    // floating display, which has the same title and is smaller.
    QString openMainWindow() const
    {
        display.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"),
                         display.waitForWindow(QStringLiteral("^XarvaneXR$")), QStringLiteral("20"),
                         QStringLiteral("10"), QStringLiteral("click"), QStringLiteral("--repeat"),
                         QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("80"),
                         QStringLiteral("1")});
        QString found;
        ProgramFolder::waitUntil([&] {
            const QStringList windows =
                display
                    .xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--name"), QStringLiteral("^XarvaneXR$")})
                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            for (const QString& window : windows)
                if (display.windowSize(window).width() > 500)
                    found = window;
            return !found.isEmpty();
        });
        return found;
    }

    // In the default connection dialog, opened from the main window's menu, makes the list's
    // item that `listKeys` move to the default and saves it; returns the default as saved.
    QString chooseDefault(const QString& mainWindow, const QString& listKeys)
    {
        display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), mainWindow});
        key(QStringLiteral("alt+c o"));
        const QString dialog = display.waitForWindow(QStringLiteral("XR连接设置"));
        if (dialog.isEmpty())
            return QStringLiteral("(no dialog)");
        display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog});
        display.screenshot(
            QDir(QStringLiteral(XARVANE_TEST_WORK_DIR)).filePath(QStringLiteral("nm-connection-dialog.png")));
        key(listKeys + QStringLiteral(" Tab space alt+o")); // the list has the focus; Tab is "设为默认"
        ProgramFolder::waitUntil(
            [&] { return display.visibleWindow(QStringLiteral("XR连接设置")).isEmpty(); });
        QFile settings(folder.path(QStringLiteral("Xarvane.reg")));
        settings.open(QIODevice::ReadOnly);
        static const QRegularExpression defaultConn(QStringLiteral("\"DefaultConn\"=\"([^\"]*)\""));
        return defaultConn.match(QString::fromUtf8(settings.readAll())).captured(1);
    }

    VirtualDisplay display;
    DialWindows windows{display};
    ProgramFolder folder;
    QString eth0;
    QString office;
};

TEST_F(NetworkManagerDialEndToEnd, SignInActivatesTheDefaultProfileAndItsConnectionIsRecordedForTheUser)
{
    mock.activateSlowly();
    signInWithNothingConnected();

    ASSERT_TRUE(windows.dialStatusShown(101))
        << "the dialling layout; " << folder.errorOutput().toStdString();
    const QString active = dialledConnection();
    ASSERT_FALSE(active.isEmpty()) << "the program asked NetworkManager to activate the profile";
    QFile log(mock.logPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains(QStringLiteral("ActivateConnection \"%1\"").arg(office).toUtf8()));
    mock.changeState(active, kActivated, 0);

    ASSERT_TRUE(windows.dialStatusGone()) << folder.errorOutput().toStdString();
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return records().size() == 2; }));
    EXPECT_EQ(records(), (QList<QStringList>{{kAnonymousId, QStringLiteral("Office")},
                                             {kAdminId, QStringLiteral("Office")}}));
}

TEST_F(NetworkManagerDialEndToEnd, FailedAndRefusedActivationsShowTheErrorLayoutWithOurCodeAndText)
{
    mock.activateSlowly();
    signInWithNothingConnected();
    ASSERT_TRUE(windows.dialStatusShown(101)) << folder.errorOutput().toStdString();
    const QString active = dialledConnection();
    mock.changeState(active, kDeactivated, kLoginFailed);

    ASSERT_TRUE(windows.dialStatusShown(170)) << "the error layout; " << folder.errorOutput().toStdString();
    EXPECT_TRUE(display.screenshot(
        QDir(QStringLiteral(XARVANE_TEST_WORK_DIR)).filePath(QStringLiteral("nm-dial-error.png"))));
    EXPECT_EQ(windows.errorText(), QStringLiteral("错误信息：用户名或密码无效，登录失败。\n错误码：3010"));
    QThread::msleep(1000); // polls that meet the ended connection, still listed by the service
    mock.deactivate(active);

    mock.refuseActivation(QStringLiteral("org.freedesktop.NetworkManager.PermissionDenied"));
    key(QStringLiteral("alt+r")); // 重拨
    EXPECT_TRUE(ProgramFolder::waitUntil([&] {
        return windows.errorText() == QStringLiteral("错误信息：没有启动或断开该连接的权限。\n错误码：3102");
    })) << windows.errorText().toStdString();
    EXPECT_EQ(records().size(), 1) << "nothing recorded for the failed dials";
}

TEST_F(NetworkManagerDialEndToEnd, TheDefaultConnectionDialogListsTheProfilesInOrder)
{
    folder.setSetting(QStringLiteral("LoginDial"), 0);
    mock.addProfile(QStringLiteral("Home"), QStringLiteral("802-11-wireless"));
    mock.addProfile(QStringLiteral("Aport"), QStringLiteral("802-3-ethernet"), {}, QStringLiteral("br0"));
    mock.addProfile(QStringLiteral("lo"), QStringLiteral("loopback"));
    signInWithNothingConnected();

    // A port of a bridge would come first and loopback last, were they listed.
    const QString mainWindow = openMainWindow();
    ASSERT_FALSE(mainWindow.isEmpty()) << folder.errorOutput().toStdString();
    // A move selects the item it reaches.
    EXPECT_EQ(chooseDefault(mainWindow, QStringLiteral("End Home")).toStdString(), "Home");
    EXPECT_EQ(chooseDefault(mainWindow, QStringLiteral("Home End")).toStdString(), "Office");
}

} // namespace
} // namespace xr::test
