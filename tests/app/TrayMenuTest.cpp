// The notification icon's menu: items in order, availability each time it opens, and the
// commands that sign in, sign out, hang up and open the usage browser.
#include "TrayFixture.h"

#include "connections/RASNotify.h"

#include "app/TrayMenu.h"

#include <QAction>
#include <QMenu>

namespace xr::test {
namespace {

class TrayMenuTest : public TrayFixture {
protected:
    void SetUp() override
    {
        createDatabase();
        startTray();
        ASSERT_TRUE(tray->databaseOpened());
        windows.calls.clear();
    }

    QAction* item(const char* name) const
    {
        QAction* found = tray->winTray().pmTray().findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void openMenu() { emit tray->winTray().pmTray().aboutToShow(); }
    void signInAs(const QString& id) { context.currentConnection.UserId = id; }
    void connect()
    {
        handle = ras.addConnection("Office");
        tray->RASNotify().Poll();
        windows.calls.clear();
    }
    QSystemTrayIcon* icon() const { return tray->winTray().findChild<QSystemTrayIcon*>(QStringLiteral("trayIcon")); }

    platform::ConnHandle handle = 0;
};

TEST_F(TrayMenuTest, ItemsCaptionsAndSeparatorsInOrder)
{
    QStringList items;
    for (const QAction* action : tray->winTray().pmTray().actions())
        items << action->objectName() + QLatin1Char(' ') +
                     (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(items, (QStringList{
                         QStringLiteral("pmiFW 关闭悬浮窗口"),
                         QStringLiteral("pmiLine4 -"),
                         QStringLiteral("pmiAbout 关于XR(&A)..."),
                         QStringLiteral("pmiHelp 帮助(&H)"),
                         QStringLiteral("pmiLine2 -"),
                         QStringLiteral("pmiDial 拨号连接(&C)"),
                         QStringLiteral("pmiDisConn 断开连接(&D)"),
                         QStringLiteral("pmiLine3 -"),
                         QStringLiteral("pmiLogin 登录(&I)..."),
                         QStringLiteral("pmiLogout 注销(&O)"),
                         QStringLiteral("pmiOpenManager 打开管理器(&M)..."),
                         QStringLiteral("pmiLine1 -"),
                         QStringLiteral("pmiExit 退出(&X)"),
                     }));
    ASSERT_NE(icon(), nullptr);
    EXPECT_EQ(icon()->toolTip(), QStringLiteral("XarvaneXR"));
    tray->winTray().showTimeLeft(QStringLiteral("本月剩余：2小时0分0秒"));
    EXPECT_EQ(icon()->toolTip(), QStringLiteral("XarvaneXR\n本月剩余：2小时0分0秒")) << "an allowance's time left";
    tray->winTray().showTimeLeft(QString());
    EXPECT_EQ(icon()->toolTip(), QStringLiteral("XarvaneXR"));
    EXPECT_EQ(icon()->contextMenu(), &tray->winTray().pmTray());
    EXPECT_FALSE(icon()->icon().isNull());
}

TEST_F(TrayMenuTest, AvailabilityRule)
{
    EXPECT_EQ(trayMenuAvailability(false, false), (TrayMenuAvailability{false, false, true, false}));
    EXPECT_EQ(trayMenuAvailability(false, true), (TrayMenuAvailability{true, false, false, true}));
    EXPECT_EQ(trayMenuAvailability(true, false), (TrayMenuAvailability{false, false, true, false}));
    EXPECT_EQ(trayMenuAvailability(true, true), (TrayMenuAvailability{false, true, false, true}));
}

TEST_F(TrayMenuTest, OpeningTheMenuSetsAvailabilityInTheFourStates)
{
    const auto enabled = [this] {
        QString flags;
        for (const char* name : {"pmiDial", "pmiDisConn", "pmiLogin", "pmiLogout"})
            flags += item(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return flags;
    };
    openMenu();
    EXPECT_EQ(enabled(), QStringLiteral("0010")) << "idle, nobody signed in";
    signInAs(QStringLiteral("20040307090503045"));
    openMenu();
    EXPECT_EQ(enabled(), QStringLiteral("1001")) << "idle, signed in";
    connect();
    openMenu();
    EXPECT_EQ(enabled(), QStringLiteral("0101")) << "connected, signed in";
    ClearCurrentUser(context.currentConnection);
    openMenu();
    EXPECT_EQ(enabled(), QStringLiteral("0010")) << "connected, nobody signed in";
    for (const char* name : {"pmiFW", "pmiAbout", "pmiHelp", "pmiOpenManager", "pmiExit"})
        EXPECT_TRUE(item(name)->isEnabled()) << name;
}

TEST_F(TrayMenuTest, FloatingDisplayCaptionFollowsItsExistence)
{
    openMenu();
    EXPECT_EQ(item("pmiFW")->text(), QStringLiteral("打开悬浮窗口(&F)"));
    windows.floatWinShowing = true;
    openMenu();
    EXPECT_EQ(item("pmiFW")->text(), QStringLiteral("关闭悬浮窗口(&F)"));
}

TEST_F(TrayMenuTest, HangUpAsksAndHangsUpTheFirstConnection)
{
    connect();
    ras.addConnection("Second");
    tray->RASNotify().Poll();
    item("pmiDisConn")->trigger();
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("断开连接吗？"));
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Confirmation);
    EXPECT_TRUE(ras.hungUp.empty()) << "answered No";
    prompter.answers << PromptAnswer::Yes;
    item("pmiDisConn")->trigger();
    EXPECT_EQ(ras.hungUp, std::vector<platform::ConnHandle>{handle});
}

TEST_F(TrayMenuTest, HangUpWithTheListGoneRaisesInvalidIndex)
{
    prompter.answers << PromptAnswer::Yes;
    try {
        item("pmiDisConn")->trigger();
        FAIL() << "an empty list has no first connection";
    } catch (const ERASNotifyError& error) {
        EXPECT_STREQ(error.what(), "Invalid index"); // shown by the general error handling
    }
    EXPECT_TRUE(ras.hungUp.empty());
}

TEST_F(TrayMenuTest, SignInAndOpenManagerGoToTheDialogOrTheMainWindow)
{
    item("pmiLogin")->trigger();
    item("pmiOpenManager")->trigger();
    signInAs(QStringLiteral("20040307090503045"));
    item("pmiLogin")->trigger();
    item("pmiOpenManager")->trigger();
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("login 0"), QStringLiteral("login 2"),
                                          QStringLiteral("main window")}));
}

TEST_F(TrayMenuTest, DoubleClickOpensTheBrowserAndASingleClickNothing)
{
    ASSERT_NE(icon(), nullptr);
    emit icon()->activated(QSystemTrayIcon::Trigger);
    emit icon()->activated(QSystemTrayIcon::DoubleClick);
    signInAs(QStringLiteral("20040307090503045"));
    emit icon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("login 2"), QStringLiteral("main window")}));
}

TEST_F(TrayMenuTest, SignOutIsRefusedWhileConnectedAndConfirmedOtherwise)
{
    signInAs(QStringLiteral("20040307090503045"));
    connect();
    item("pmiLogout")->trigger();
    EXPECT_EQ(prompter.prompts.value(0).text, QStringLiteral("在连接状态下用户不可以注销！"));
    EXPECT_TRUE(context.currentConnection.signedIn());

    ras.removeConnection(handle);
    tray->RASNotify().Poll();
    item("pmiLogout")->trigger();
    EXPECT_EQ(prompter.prompts.value(1).text, QStringLiteral("注销吗？"));
    EXPECT_TRUE(context.currentConnection.signedIn()) << "answered No";
    prompter.answers << PromptAnswer::Yes;
    item("pmiLogout")->trigger();
    EXPECT_FALSE(context.currentConnection.signedIn());
    EXPECT_EQ(windows.calls, QStringList{QStringLiteral("close main window")});
}

} // namespace
} // namespace xr::test
