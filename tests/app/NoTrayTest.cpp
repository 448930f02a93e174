// Without a notification area the stand-in for the icon carries the tray menu and opens the
// usage browser, and one message says why it is there.
#include "app/NoTrayHandle.h"
#include "app/TrayHostWatch.h"

#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>

namespace xr::test {
namespace {

class NoTray : public ::testing::Test {
protected:
    TrayHostWatch& watch()
    {
        if (!m_watch)
            m_watch = std::make_unique<TrayHostWatch>(
                pmTray, [this] { ++managerOpenings; }, prompter, [this] { return trayAvailable; });
        return *m_watch;
    }

    QMenu pmTray;
    ScriptedPrompter prompter;
    bool trayAvailable = false;
    int managerOpenings = 0;

private:
    std::unique_ptr<TrayHostWatch> m_watch;
};

TEST_F(NoTray, TheStandInShowsWhileThereIsNoNotificationAreaAndTheMessageComesOnce)
{
    NoTrayHandle* handle = watch().handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(handle->isVisible());
    EXPECT_TRUE(handle->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(handle->frameGeometry()));
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Information);
    EXPECT_TRUE(prompter.prompts[0].text.startsWith(QStringLiteral("没有找到系统通知区域")));

    watch().check();
    EXPECT_EQ(watch().handle(), handle) << "the same stand-in stays";

    // A notification area appears: the icon goes there and the stand-in goes away.
    trayAvailable = true;
    watch().check();
    EXPECT_EQ(watch().handle(), nullptr);

    // It goes away again: the stand-in is back, and nothing more is said.
    trayAvailable = false;
    watch().check();
    ASSERT_NE(watch().handle(), nullptr);
    EXPECT_TRUE(watch().handle()->isVisible());
    EXPECT_EQ(prompter.prompts.size(), 1);
}

TEST_F(NoTray, WithANotificationAreaNothingIsShownOrSaid)
{
    trayAvailable = true;
    EXPECT_EQ(watch().handle(), nullptr);
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

TEST_F(NoTray, RightButtonOpensTheTrayMenuAndADoubleClickTheUsageBrowser)
{
    int popups = 0;
    pmTray.addAction(QStringLiteral("退出(&X)"));
    QObject::connect(&pmTray, &QMenu::aboutToShow, [&popups] { ++popups; });
    NoTrayHandle* handle = watch().handle();
    ASSERT_NE(handle, nullptr);

    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), handle->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(handle, &rightClick);
    EXPECT_EQ(popups, 1) << "the menu's own before-opening step runs";
    EXPECT_TRUE(pmTray.isVisible());
    pmTray.hide();

    QTest::mouseDClick(handle, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(managerOpenings, 1);
    QTest::mouseDClick(handle, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(managerOpenings, 1) << "only the left button opens it";
}

} // namespace
} // namespace xr::test
