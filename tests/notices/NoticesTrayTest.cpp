// The notices as the tray controller drives them: the notice of each connection, the sound
// alone when nobody is signed in, the floating display's online time, and the tray item and
// main-menu item that switch the display and store FloatWin.
#include "FakeShell.h"
#include "FakeSound.h"
#include "InstalledDatabase.h"
#include "TestContext.h"

#include "app/AppWindows.h"
#include "app/XarvaneSession.h"
#include "notices/FloatWinRules.h"
#include "notices/Notices.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>

#include <memory>

namespace xr::test {
namespace {

class NoticesTrayTest : public ::testing::Test, protected TestContext {
protected:
    NoticesTrayTest() : notices(context, sound, shell) {}
    void SetUp() override
    {
        createInstalledDatabase(context.appPath + kDatabaseFileName);
        installDefaultSettings(registry);
        for (const char* name : {"Conn1.wav", "Conn2.wav", "Disconn.wav"})
            QFile::copy(QStringLiteral(XARVANE_SOURCE_DIR "/assets/sounds/") + QLatin1String(name),
                        context.appPath + QLatin1String(name));
        windows.setNotices(&notices);
        tray = std::make_unique<XarvaneSession>(context, windows);
        ASSERT_TRUE(tray->databaseOpened());
        tray->winTray().trayMenu().connectNotices(notices);
    }
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void signIn()
    {
        context.currentConnection.UserId = QStringLiteral("000000000000000001");
        context.currentConnection.UserName = QStringLiteral("admin");
    }
    void connectOffice()
    {
        handle = ras.addConnection("Office");
        tray->RASNotify().Poll();
    }
    void disconnect()
    {
        ras.removeConnection(handle);
        tray->RASNotify().Poll();
    }
    void tick() { tray->recorder().tmConnTimer(); }
    std::string soundFile(const char* name) const
    {
        return (context.appPath + QLatin1String(name)).toStdString();
    }
    QString caption()
    {
        return QString::fromLatin1(notices.floatingDisplay().winFloatWin()->LEDDisplay1()->Caption());
    }
    QString storedFloatWin()
    {
        const auto key = registry.openKey(kSettingsKey.toStdString(), false);
        return QString::number(key->readDword("FloatWin").value_or(99));
    }
    void closeAllPopups()
    {
        if (notices.popups().exists())
            notices.popups().winInfo()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    FakeSound sound;
    FakeShell shell;
    Notices notices;
    AppWindows windows;
    std::unique_ptr<XarvaneSession> tray;
    platform::ConnHandle handle = 0;
};

TEST_F(NoticesTrayTest, NobodySignedInHearsTheCallButSeesNoPopup)
{
    connectOffice();
    EXPECT_EQ(sound.played, (std::vector<std::string>{soundFile("Conn1.wav")}));
    EXPECT_FALSE(notices.popups().exists());
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_NE(window->objectName(), QStringLiteral("winInfo"));
}

TEST_F(NoticesTrayTest, ConnectionWithAUserAndItsEndEachShowTheirNotice)
{
    signIn();
    connectOffice();
    ASSERT_TRUE(notices.popups().exists());
    EXPECT_TRUE(
        notices.popups().winInfo()->lblInfo()->text().contains(QStringLiteral("当前登录用户：admin")));
    EXPECT_EQ(sound.played, (std::vector<std::string>{soundFile("Conn2.wav")}));

    // The end, while the first popup is still up, gives no second notice.
    disconnect();
    tick();
    EXPECT_EQ(sound.played.size(), 1U);

    closeAllPopups();
    connectOffice();
    closeAllPopups();
    disconnect();
    tick();
    ASSERT_TRUE(notices.popups().exists());
    EXPECT_TRUE(notices.popups().winInfo()->lblInfo()->text().contains(QStringLiteral("断开")));
    EXPECT_EQ(sound.played.back(), soundFile("Disconn.wav"));
}

TEST_F(NoticesTrayTest, TheDisplayShowsTheOnlineTimeAtTheFirstTickAndTheBannerAfterTheEnd)
{
    signIn();
    notices.floatingDisplay().OpenFloatWin();
    const TwinFloatWin* display = notices.floatingDisplay().winFloatWin();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(caption(), kFloatWinBanner);
    EXPECT_TRUE(display->LEDDisplay1()->Scrolling());

    connectOffice();
    EXPECT_EQ(caption(), kFloatWinBanner) << "the banner stays until the next tick";
    clock.advanceMs(1000);
    tick();
    EXPECT_EQ(caption(), QStringLiteral("00 00:00:01"));
    EXPECT_FALSE(display->LEDDisplay1()->Scrolling());
    clock.advanceMs((2 * 3600 + 3 * 60 + 4) * 1000LL);
    tick();
    EXPECT_EQ(caption(), QStringLiteral("00 02:03:05"));

    disconnect();
    tick();
    EXPECT_EQ(caption(), kFloatWinBanner);
    EXPECT_TRUE(display->LEDDisplay1()->Scrolling());
}

TEST_F(NoticesTrayTest, TrayItemAndMainMenuItemSwitchTheDisplayAndStoreFloatWin)
{
    QAction* pmiFW = tray->winTray().trayMenu().pmiFW();
    emit tray->winTray().pmTray().aboutToShow();
    EXPECT_EQ(pmiFW->text(), QStringLiteral("打开悬浮窗口(&F)"));

    pmiFW->trigger();
    EXPECT_TRUE(notices.floatingDisplay().exists());
    EXPECT_TRUE(context.settings.FloatWin);
    EXPECT_EQ(storedFloatWin(), QStringLiteral("1"));
    emit tray->winTray().pmTray().aboutToShow();
    EXPECT_EQ(pmiFW->text(), QStringLiteral("关闭悬浮窗口(&F)"));

    pmiFW->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(notices.floatingDisplay().exists());
    EXPECT_FALSE(context.settings.FloatWin);
    EXPECT_EQ(storedFloatWin(), QStringLiteral("0"));
    emit tray->winTray().pmTray().aboutToShow();
    EXPECT_EQ(pmiFW->text(), QStringLiteral("打开悬浮窗口(&F)"));

    notices.floatingDisplay().mmiFloatWinClick(true);
    EXPECT_TRUE(notices.floatingDisplay().exists());
    EXPECT_EQ(storedFloatWin(), QStringLiteral("1"));
    // The display's right-click menu is the tray menu.
    EXPECT_EQ(notices.floatingDisplay().winFloatWin()->LEDDisplay1()->PopupMenu(), &tray->winTray().pmTray());
    notices.floatingDisplay().mmiFloatWinClick(false);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(notices.floatingDisplay().exists());
    EXPECT_EQ(storedFloatWin(), QStringLiteral("0"));
}

} // namespace
} // namespace xr::test
