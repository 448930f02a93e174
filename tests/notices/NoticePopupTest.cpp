// The notice popup: its texts and sounds, where it rises, at most one at a time, its closing
// timer, and the bounded sound that a missing file or a dead output leaves silent.
#include "FakeSound.h"
#include "TestContext.h"

#include "notices/NoticePlacement.h"
#include "notices/NoticePopups.h"
#include "notices/NoticeSound.h"
#include "notices/NoticeTexts.h"
#include "platform/CanberraSound.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace xr::test {
namespace {

TEST(NoticeTexts, EachKindHasItsTextAndSound)
{
    EXPECT_EQ(noticeText(TNoticeKind::nkNoUser, QStringLiteral("alice")),
              QStringLiteral("\r\r已经与Internet连接！\r\r您还没有登录 [Xarvane] ！\r\r请登录！"));
    EXPECT_EQ(noticeText(TNoticeKind::nkDisconnected, QStringLiteral("alice")),
              QStringLiteral("\r\r\r\r与Internet的连接已经断开！\r\r\r"));
    EXPECT_EQ(noticeText(TNoticeKind::nkUser, QStringLiteral("alice")),
              QStringLiteral("\r\r已经与Internet连接！\r\r当前登录用户：alice\r\rXR开始计时！"));
    EXPECT_EQ(noticeText(TNoticeKind::nkUser, QString()),
              QStringLiteral("\r\r已经与Internet连接！\r\r当前登录用户：\r\rXR开始计时！"));
    EXPECT_EQ(noticeSoundFile(TNoticeKind::nkNoUser), QStringLiteral("Conn1.wav"));
    EXPECT_EQ(noticeSoundFile(TNoticeKind::nkDisconnected), QStringLiteral("Disconn.wav"));
    EXPECT_EQ(noticeSoundFile(TNoticeKind::nkUser), QStringLiteral("Conn2.wav"));
}

TEST(NoticePlacement, RisesAboveABottomPanelElseFromTheBottomEdge)
{
    const QRect screen(0, 0, 1280, 1024);
    const QSize popup(198, 162);
    // A panel 30 pixels high along the bottom.
    EXPECT_EQ(noticePlacement(screen, QRect(0, 0, 1280, 994), popup), (NoticePlacement{1082, 994, 832}));
    // A panel at the left side, one at the top, and none: from the bottom edge of the screen.
    const NoticePlacement fromBottom{1082, 1024, 862};
    EXPECT_EQ(noticePlacement(screen, QRect(48, 0, 1232, 1024), popup), fromBottom);
    EXPECT_EQ(noticePlacement(screen, QRect(0, 28, 1280, 996), popup), fromBottom);
    EXPECT_EQ(noticePlacement(screen, screen, popup), fromBottom);
    // A second screen to the right of the first.
    EXPECT_EQ(noticePlacement(QRect(1280, 0, 1024, 768), QRect(1280, 0, 1024, 740), popup),
              (NoticePlacement{2106, 740, 578}));
}

class NoticeSoundTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString appPath() const { return dir.path() + QLatin1Char('/'); }
    void placeSound(const QString& name) const
    {
        QFile::copy(QStringLiteral(XARVANE_SOURCE_DIR "/assets/sounds/") + name, appPath() + name);
    }

    QTemporaryDir dir;
    FakeSound sound;
};

TEST_F(NoticeSoundTest, MissingFileIsSilentAndPresentFilePlaysFromTheProgramFolder)
{
    PlayNoticeSound(sound, appPath(), TNoticeKind::nkUser);
    EXPECT_TRUE(sound.played.empty());

    placeSound(QStringLiteral("Conn2.wav"));
    PlayNoticeSound(sound, appPath(), TNoticeKind::nkUser);
    EXPECT_EQ(sound.played,
              (std::vector<std::string>{(appPath() + QStringLiteral("Conn2.wav")).toStdString()}));
    EXPECT_EQ(sound.stops, 0);
}

TEST_F(NoticeSoundTest, ASoundLongerThanTheBoundIsCutThere)
{
    sound.ending = FakeSound::Ending::Never;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(platform::playToEnd(sound, "long.wav", std::chrono::milliseconds(200)));
    EXPECT_GE(timer.elapsed(), 190);
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(sound.stops, 1);

    sound.ending = FakeSound::Ending::AtOnce;
    EXPECT_TRUE(platform::playToEnd(sound, "short.wav", std::chrono::milliseconds(200)));
    EXPECT_EQ(sound.stops, 1);
    sound.playable = false;
    EXPECT_FALSE(platform::playToEnd(sound, "dead.wav", std::chrono::milliseconds(200)));
    EXPECT_EQ(sound.stops, 1);
}

// The real player: it is created, and playing our sound returns within the bound whether or
// not this machine has audio output, without a word on standard error.
TEST_F(NoticeSoundTest, RealPlayerPlaysOrStaysSilentWithinTheBound)
{
    placeSound(QStringLiteral("Conn2.wav"));
    std::fflush(stderr);
    const int savedError = ::dup(2);
    QTemporaryFile errors;
    ASSERT_TRUE(errors.open());
    ::dup2(errors.handle(), 2);
    QElapsedTimer timer;
    timer.start();
    {
        platform::CanberraSound real;
        EXPECT_TRUE(real.created());
        PlayNoticeSound(real, appPath(), TNoticeKind::nkUser, std::chrono::milliseconds(5000));
    }
    const qint64 elapsed = timer.elapsed();
    std::fflush(stderr);
    ::dup2(savedError, 2);
    ::close(savedError);
    EXPECT_LT(elapsed, 5500);
    EXPECT_EQ(errors.readAll(), QByteArray());
}

class NoticePopupTest : public NoticeSoundTest, protected TestContext {
protected:
    NoticePopupTest() : popups(context, sound) {}
    void SetUp() override
    {
        NoticeSoundTest::SetUp();
        context.appPath = appPath();
        context.currentConnection.UserName = QStringLiteral("alice");
        placeSound(QStringLiteral("Conn2.wav"));
        placeSound(QStringLiteral("Disconn.wav"));
    }
    static void deleteClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    NoticePopups popups;
};

TEST_F(NoticePopupTest, ANoticeRisesAtTheRightWithItsSoundAndASecondOneIsDropped)
{
    popups.ShowNotice(TNoticeKind::nkUser);
    TwinInfo* popup = popups.winInfo();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->windowTitle(), QStringLiteral("Xarvane-信息"));
    EXPECT_EQ(popup->size(), QSize(192, 138));
    EXPECT_EQ(popup->lblInfo()->text(),
              QStringLiteral("\n\n已经与Internet连接！\n\n当前登录用户：alice\n\nXR开始计时！"));
    const QScreen* screen = popup->screen();
    const NoticePlacement place =
        noticePlacement(screen->geometry(), screen->availableGeometry(), popup->frameGeometry().size());
    EXPECT_EQ(popup->frameGeometry().topLeft(), QPoint(place.left, place.shownTop));
    EXPECT_EQ(popup->frameGeometry().right(), screen->geometry().right());
    EXPECT_EQ(sound.played,
              (std::vector<std::string>{(appPath() + QStringLiteral("Conn2.wav")).toStdString()}));

    popups.ShowNotice(TNoticeKind::nkDisconnected);
    EXPECT_EQ(popups.winInfo(), popup);
    EXPECT_EQ(sound.played.size(), 1U);
    EXPECT_TRUE(popup->lblInfo()->text().endsWith(QStringLiteral("XR开始计时！")));

    // A double-click on the text closes it at once; then the next notice shows.
    QTest::mouseDClick(popup->lblInfo(), Qt::LeftButton);
    deleteClosedWindows();
    EXPECT_FALSE(popups.exists());
    popups.ShowNotice(TNoticeKind::nkDisconnected);
    ASSERT_TRUE(popups.exists());
    EXPECT_EQ(popups.winInfo()->lblInfo()->text(),
              QStringLiteral("\n\n\n\n与Internet的连接已经断开！\n\n\n"));
}

// A warning that the online time runs out is not dropped: it takes the open popup's place.
TEST_F(NoticePopupTest, AnAllowanceWarningTakesThePlaceOfTheOpenPopupWithItsSound)
{
    placeSound(QStringLiteral("Conn1.wav"));
    popups.ShowNotice(TNoticeKind::nkUser);
    ASSERT_TRUE(popups.exists());
    popups.ShowWarning(QStringLiteral("您本周的上网时间还剩 5 分钟"));
    ASSERT_TRUE(popups.exists());
    EXPECT_EQ(popups.winInfo()->lblInfo()->text(), QStringLiteral("\n\n\n\n您本周的上网时间还剩 5 分钟"));
    EXPECT_EQ(sound.played, (std::vector<std::string>{(appPath() + QStringLiteral("Conn2.wav")).toStdString(),
                                                      (appPath() + QStringLiteral("Conn1.wav")).toStdString()}));
    const QWidget* popup = popups.winInfo();
    EXPECT_EQ(QApplication::topLevelWidgets().count(popup), 1);
    int shown = 0;
    for (const QWidget* window : QApplication::topLevelWidgets())
        shown += window->objectName() == QStringLiteral("winInfo") && window->isVisible() ? 1 : 0;
    EXPECT_EQ(shown, 1) << "one popup at a time";
}

TEST_F(NoticePopupTest, TheClosingTimerCountsFromCreationTheSoundIncluded)
{
    sound.ending = FakeSound::Ending::AfterPlayingTime;
    sound.playingTimeMs = 600;
    popups.ShowNotice(TNoticeKind::nkUser);
    ASSERT_TRUE(popups.exists());
    QTimer& timer = popups.winInfo()->tmAutoClose();
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 8000);
    EXPECT_LE(timer.remainingTime(), 8000 - 590);
}

} // namespace
} // namespace xr::test
